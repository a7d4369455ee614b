#pragma once
// The pair law in its literal form: the acceleration of one slot along one axis, evaluated per
// call exactly as the law is written, every power through Power. The program runs FastLaw, which
// gives the same bits; this form is the reference it is tested against and the path that a
// faulting step is re-run on, so that a fault leaves the model where this order leaves it.

#include <array>

#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora {

// Constants of the law, each the extended value nearest to the decimal.
inline constexpr real LawScale = 1.0256L;      // k = 1.0256 / p
inline constexpr real LawWidth = 0.1L;         // 0.1 in the exponent and the derivative
inline constexpr real LawPlateau = 2.5L;       // 2.5 - x^20
inline constexpr real LawSteepness = 20.0L;    // x^20 in the potential
inline constexpr real LawSteepness18 = 18.0L;  // x^18 in its derivative
inline constexpr real LawSlope = 200.0L;       // factor of the derivative's second part
inline constexpr real ContactBase = 2.72L;     // the contact part uses 2.72^-1, not e^-1
inline constexpr real ContactFactor = 0.5L;

// The shell terms of a group, one per length parameter, in the order of the sum: B, C, D, F, G.
// With the contact part the exponential takes the place of the last, G's.
inline constexpr int ShellTermCount = 5;
inline int ShellTermsSummed(const LawSettings& law) {
  return law.Functions3X1 ? ShellTermCount - 1 : ShellTermCount;
}
inline std::array<real, ShellTermCount> ShellLengths(const GroupParameters& p) {
  return {p.B, p.C, p.D, p.F, p.G};
}

// An absent slot that sits exactly where a present partner sits (empty slots of a new scene lie
// at the origin) has no direction to it and no distance to divide by: it takes nothing from that
// partner instead of stopping the run. Two present slots at one place remain a fault.
inline bool SkipsCoincidentPartner(bool slotPresent, real r) { return !slotPresent && r == 0.0L; }

// S_p, the shell term of one length parameter p with k = 1.0256 / p, at distance r.
real ShellTerm(real k, real r);

// +1 or -1: Gravoscope gives -1 for every pair; Taoscope +1 for an even i - j, -1 for an odd one.
int PairSign(int i, int j, bool taoscope);

// Accelerations of slot i (1..N, present or not). Each call checks the FPU status flags and
// throws FloatingPointFault at the first faulting pair.
real ForceX(const Model& model, const LawSettings& law, int i);
real ForceY(const Model& model, const LawSettings& law, int i);
real ForceZ(const Model& model, const LawSettings& law, int i);

}  // namespace velmora
