#pragma once
// The pair law as the program runs it. It gives the same bits as ForceX/ForceY/ForceZ:
// - the constants of each length parameter (k, 0.1 k, (0.1 k)^-1, 200 k) are formed once per step;
// - each pair's distance r and r^-2 = exp(-2 ln r) are formed once, and Phi once per slot of the
//   pair, or once for both slots when the parameters that Phi reads are the same for both groups;
// - the logarithm of x = k r is formed once and shared by x^20, x^E, x^18 and ln x;
// - the projection onto each axis and each slot's sum are formed exactly as the literal law
//   forms them, partners in order 1..N;
// - a shell term that provably cannot change a bit of Phi (it underflows to zero, or lies below
//   half the spacing of the reals next to Phi so far) is not evaluated.
// The work is shared by a pool of threads: the pairs by rows, the sums by slots, handed out in
// small chunks to whichever thread is free. Every pair and every sum is formed by one thread in
// the order above, so any thread count and any hand-out gives the same bits.
// It does not throw: it reports whether any thread flagged a fault, and the caller then re-runs
// the step with the literal law, which stops where the fault arises.

#include <array>
#include <atomic>
#include <functional>
#include <vector>

#include "model/Model.h"
#include "sim/StepSettings.h"
#include "sim/WorkerPool.h"

namespace velmora {

class FastLaw {
 public:
  explicit FastLaw(int threads = DefaultThreadCount());

  int Threads() const { return pool_.Size(); }

  // Forms the per-step constants from the parameters and the law's switches.
  void Prepare(const Model& model, const LawSettings& law);

  // Accelerations along x, y and z of every slot i with targets[i] set, from the current
  // positions, written into ax[i], ay[i], az[i]. Other entries are left alone. Returns whether
  // invalid operation, division by zero or overflow was flagged, on any thread.
  bool Accelerations(const Model& model, const SlotArray<bool>& targets, SlotArray<real>& ax,
                     SlotArray<real>& ay, SlotArray<real>& az);

  // For checking the skipping from outside: called, on the thread that skips it, with k, r and
  // Phi so far (0 for the first term) of every shell term that is not evaluated.
  using SkipAudit = std::function<void(real k, real r, real partial)>;
  void SetSkipAudit(SkipAudit audit) { audit_ = std::move(audit); }

 private:
  struct LengthConstants {
    real k, widthK, inverseWidthK, slopeK;
    // Double copies for the quick test of negligible terms, set when `screened` (k lies well
    // inside the range of doubles, see Screened).
    bool screened;
    double kD, lnKD, inverseWidthKD, slopeKD;
  };
  struct GroupConstants {
    std::array<LengthConstants, 5> terms;  // B, C, D, F, G
    real A, G, contactAGa, contactMinusAG;
  };
  // What every shell term of a pair shares: r and r^-2, and their double copies when r is
  // `screened`.
  struct PairQuantities {
    real r, rInverseSquare;
    bool screened;
    double rD, lnRD, rInverseSquareD;
  };

  static LengthConstants LengthConstantsOf(real k);
  static PairQuantities PairQuantitiesOf(real r);
  // `leading`: only whether the term vanishes matters, Phi so far being 0.
  static real SkipThreshold(const LengthConstants& c, const PairQuantities& q, bool leading);
  static bool Negligible(const LengthConstants& c, real x, real rInverseSquare, real partial);
  static real ShellTerm(const LengthConstants& c, const PairQuantities& q);
  bool Skips(const LengthConstants& c, const PairQuantities& q, real threshold, real partial) const;
  real ContactTerm(const GroupConstants& g, real r) const;
  real Phi(int group, const PairQuantities& q) const;
  void FormPairs(const Model& model, const SlotArray<bool>& targets, int firstRow, int lastRow);
  void SumContributions(const Model& model, const SlotArray<bool>& targets, int first, int last,
                        SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az) const;
  // The pairs a < b are handed out by rows a, the sums by slots, a few at a time to whichever
  // thread asks next: the rows shrink from n - 1 pairs to one, so the last chunks are short.
  static constexpr int RowsPerChunk = 2;
  static constexpr int SlotsPerChunk = 5;

  real& Distance(int i, int j) { return distance_[i * (SlotCount + 1) + j]; }
  real& PhiOf(int i, int j) { return phi_[i * (SlotCount + 1) + j]; }
  real Distance(int i, int j) const { return distance_[i * (SlotCount + 1) + j]; }
  real PhiOf(int i, int j) const { return phi_[i * (SlotCount + 1) + j]; }

  LawSettings law_;
  std::array<GroupConstants, GroupCount + 1> groups_{};
  // sharesPhi_[a][b]: Phi of a slot whose partner is in group a equals Phi for group b.
  std::array<std::array<bool, GroupCount + 1>, GroupCount + 1> sharesPhi_{};
  std::vector<real> distance_;
  std::vector<real> phi_;
  SkipAudit audit_;
  std::atomic<int> nextChunk_ = 0;
  WorkerPool pool_;
};

// The accelerations of every slot 1..N from the current positions, by `fast`; when it flags a
// fault, the literal law is evaluated in its order and throws the FloatingPointFault of the
// first operation that faults, as a step would name it.
void EveryAcceleration(FastLaw& fast, const Model& model, const LawSettings& law, SlotArray<real>& ax,
                       SlotArray<real>& ay, SlotArray<real>& az);

}  // namespace velmora
