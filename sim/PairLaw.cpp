#include "sim/PairLaw.h"

#include <array>
#include <cmath>

#include "model/FloatingPointFaults.h"
#include "model/Power.h"

namespace velmora {

namespace {

constexpr int ShellTerms = 5;  // B, C, D, F, G

using LengthConstants = std::array<std::array<real, ShellTerms>, GroupCount + 1>;

// S_p = dU_p/dr for the shell potential U_p(r) = x^E, with x = k r and
// E = (2.5 - x^20) / (0.1 x), formed as (0.1 k r)^-1 (2.5 - x^20):
//   S_p = x^E [ (2.5 - x^20)(1 - ln x) / (0.1 k r^2) - 200 k x^18 ln x ].
// The bracket is evaluated in this order, and the fast evaluation keeps it:
//   ((2.5 - x^20) * (1 - ln x)) * (r^-2 * (0.1 k)^-1)  -  ((200 * k) * x^18) * ln x.
real ShellTerm(real k, real r) {
  const real x = k * r;
  const real E = Power(-1.0L, LawWidth * k * r) * (LawPlateau - Power(LawSteepness, x));
  return Power(E, x) * ((LawPlateau - Power(LawSteepness, x)) * (1.0L - std::log(x)) *
                            (Power(-2.0L, r) * Power(-1.0L, LawWidth * k)) -
                        LawSlope * k * Power(LawSteepness18, x) * std::log(x));
}

// K = A G a (r - G)^-2 exp(-a G / (r - G)) with a = 0.5 * 2.72^-1: A times the derivative of
// exp(-a G / (r - G)), zero up to r = G. The exponential is taken directly, not through Power.
real ContactTerm(real A, real G, real r) {
  const real a = ContactFactor * Power(-1.0L, ContactBase);
  if (r > G) return A * G * a * Power(-2.0L, r - G) * std::exp(-a * G / (r - G));
  return 0.0L;
}

// k_p = 1.0256 / p for all fifteen length parameters, used by a partner's group or not.
LengthConstants LengthScales(const Model& model) {
  LengthConstants k{};
  for (int g = 1; g <= GroupCount; ++g) {
    const GroupParameters p = ParametersOfGroup(model, g);
    k[g] = {LawScale / p.B, LawScale / p.C, LawScale / p.D, LawScale / p.F, LawScale / p.G};
  }
  return k;
}

// Phi = -S_B - S_C - S_D - S_F - S_G, or with the contact part -S_B - S_C - S_D - S_F + K.
real Phi(const std::array<real, ShellTerms>& k, const GroupParameters& p, real r, const LawSettings& law) {
  const real shells = -ShellTerm(k[0], r) - ShellTerm(k[1], r) - ShellTerm(k[2], r) - ShellTerm(k[3], r);
  if (law.Functions3X1) return shells + ContactTerm(p.A, p.G, r);
  return shells - ShellTerm(k[4], r);
}

using Coordinates = SlotArray<real> Model::*;

real Force(const Model& model, const LawSettings& law, int i, Coordinates axis) {
  const LengthConstants k = LengthScales(model);
  ThrowIfFaulted();
  const SlotArray<real>& q = model.*axis;
  real sum = 0.0L;
  for (int j = 1; j <= model.N; ++j) {
    if (!model.Present[j] || j == i) continue;
    const real dx = model.X[i] - model.X[j];
    const real dy = model.Y[i] - model.Y[j];
    const real dz = model.Z[i] - model.Z[j];
    const real r = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (SkipsCoincidentPartner(model.Present[i], r)) continue;
    const int g = GroupOf(model.N, j);
    const GroupParameters p = ParametersOfGroup(model, g);
    const real phi = Phi(k[g], p, r, law);
    sum = sum + (static_cast<real>(PairSign(i, j, law.Taoscope)) * (q[i] - q[j]) / r * p.A) * phi;
    ThrowIfFaulted();
  }
  return sum;
}

}  // namespace

int PairSign(int i, int j, bool taoscope) {
  const int t = taoscope ? 1 : -1;
  const int parity = ((i - j) % 2 == 0) ? 1 : -t;
  return parity * t;
}

real ForceX(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::X); }
real ForceY(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::Y); }
real ForceZ(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::Z); }

}  // namespace velmora
