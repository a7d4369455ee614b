#pragma once
// The pair law as the program runs it. It gives the same bits as ForceX/ForceY/ForceZ:
// - the constants of each length parameter (k, 0.1 k, (0.1 k)^-1, 200 k) are formed once per step;
// - each pair's distance r and r^-2 are formed once, and Phi once per slot of the pair, or once for
//   both slots when the parameters that Phi reads are the same for both groups;
// - the logarithm of x = k r is formed once and shared by x^20, x^E, x^18 and ln x;
// - the projection onto each axis and each slot's sum are formed exactly as the literal law
//   forms them, partners in order 1..N;
// - a shell term that provably cannot change a bit of Phi (it underflows to zero, or lies below
//   half the spacing of the reals next to Phi so far) is not evaluated.
// The work is split over a pool of threads: the pairs by fixed blocks of rows, the sums by fixed
// blocks of slots. Every pair and every sum is formed by one thread in the order above, so any
// thread count gives the same bits.
// It does not throw: it reports whether any thread flagged a fault, and the caller then re-runs
// the step with the literal law, which stops where the fault arises.

#include <array>
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

 private:
  struct LengthConstants {
    real k, widthK, inverseWidthK, slopeK;
  };
  struct GroupConstants {
    std::array<LengthConstants, 5> terms;  // B, C, D, F, G
    real A, G, contactAGa, contactMinusAG;
  };

  real ShellTerm(const LengthConstants& c, real r, real rInverseSquare, real partial) const;
  static bool Negligible(const LengthConstants& c, real x, real rInverseSquare, real partial);
  real ContactTerm(const GroupConstants& g, real r) const;
  real Phi(int group, real r) const;
  void FormPairs(const Model& model, const SlotArray<bool>& targets, int firstRow, int lastRow);
  void SumContributions(const Model& model, const SlotArray<bool>& targets, int first, int last,
                        SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az) const;
  // The first row of each part's block of pair rows (and n + 1 at the end), each block holding
  // about the same number of pairs a < b.
  std::vector<int> PairRowBlocks(int n) const;

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
  WorkerPool pool_;
};

}  // namespace velmora
