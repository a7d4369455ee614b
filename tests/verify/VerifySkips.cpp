// Re-evaluates every shell term that the fast law skips, on random scenes whose length
// parameters range from 0.2 to 4.5 times the easy square's, and reports each one that would
// have changed a bit of Phi or raised a fault flag; then compares every acceleration with the
// literal law's. Run by scripts/verify-skips.sh; exits 1 on any finding.
//
//   velmora_verify_skips [scenes] [seed]

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "model/FloatingPointFaults.h"
#include "sim/FastLaw.h"
#include "sim/PairLaw.h"

namespace {

using namespace velmora;

constexpr real EasySquare[ParametersPerGroup] = {1.0L, 2.718L, 5.0L, 10.0L, 20.0L, 30.0L};

struct Findings {
  long skipped = 0, changed = 0, flagged = 0, accelerations = 0, faultedScenes = 0;
};

// Lengths 0.2 to 4.5 times the easy square's (log-uniform): one factor for a whole group in
// even scenes, one per length in odd ones, so that the terms also come in unusual orders.
Model RandomScene(std::mt19937_64& rng, int scene) {
  std::uniform_real_distribution<double> logFactor(std::log(0.2), std::log(4.5));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const double spreads[] = {0.4, 1.3, 1.3, 3.0};
  const real spread = static_cast<real>(spreads[scene % 4]);
  std::bernoulli_distribution present(0.5 + 0.5 * (scene % 3) / 2.0);
  Model m;
  m.N = SlotCount;
  for (int g = 0; g < GroupCount; ++g) {
    const double groupFactor = std::exp(logFactor(rng));
    Parameter(m, g * ParametersPerGroup) = 1.0L + 0.5L * static_cast<real>(unit(rng));
    for (int p = 1; p < ParametersPerGroup; ++p) {
      const double factor = scene % 2 == 0 ? groupFactor : std::exp(logFactor(rng));
      Parameter(m, g * ParametersPerGroup + p) = EasySquare[p] * static_cast<real>(factor);
    }
  }
  for (int i = 1; i <= m.N; ++i) {
    m.Present[i] = present(rng);
    m.X[i] = spread * static_cast<real>(unit(rng));
    m.Y[i] = spread * static_cast<real>(unit(rng));
    m.Z[i] = spread * static_cast<real>(unit(rng));
  }
  return m;
}

// The literal term of a skipped one, with the caller's flags kept aside.
void Audit(real k, real r, real partial, Findings& findings) {
  std::fexcept_t kept;
  std::fegetexceptflag(&kept, FE_ALL_EXCEPT);
  ClearFaultFlags();
  const real term = ShellTerm(k, r);
  const bool flagged = FaultFlagged();
  const real result = partial - term;
  std::fesetexceptflag(&kept, FE_ALL_EXCEPT);
  ++findings.skipped;
  const bool changed = !SameBits(result, partial);
  if (!changed && !flagged) return;
  findings.changed += changed;
  findings.flagged += flagged;
  std::printf("skipped term k=%.21Lg r=%.21Lg partial=%.21Lg: S=%.21Lg%s%s\n", k, r, partial, term,
              changed ? " changes Phi" : "", flagged ? " raises a fault flag" : "");
}

void CompareWithLiteral(const Model& m, const LawSettings& law, const SlotArray<real>& ax,
                        const SlotArray<real>& ay, const SlotArray<real>& az, int scene, Findings& findings) {
  for (int i = 1; i <= m.N; ++i) {
    const bool same = SameBits(ForceX(m, law, i), ax[i]) && SameBits(ForceY(m, law, i), ay[i]) &&
                      SameBits(ForceZ(m, law, i), az[i]);
    if (same) continue;
    ++findings.accelerations;
    std::printf("scene %d slot %d: acceleration differs from the literal law\n", scene, i);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int scenes = argc > 1 ? std::atoi(argv[1]) : 1000;
  std::mt19937_64 rng(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 19);
  Findings findings;
  FastLaw fast(1);
  fast.SetSkipAudit([&](real k, real r, real partial) { Audit(k, r, partial, findings); });
  SlotArray<bool> targets{};
  for (int i = 1; i <= SlotCount; ++i) targets[i] = true;
  for (int scene = 0; scene < scenes; ++scene) {
    const Model m = RandomScene(rng, scene);
    const LawSettings law{(scene / 2) % 2 == 1, (scene / 4) % 2 == 1};
    SlotArray<real> ax{}, ay{}, az{};
    ClearFaultFlags();
    fast.Prepare(m, law);
    if (fast.Accelerations(m, targets, ax, ay, az)) {
      ++findings.faultedScenes;  // a step re-runs such a scene literally
      continue;
    }
    CompareWithLiteral(m, law, ax, ay, az, scene, findings);
  }
  std::printf("scenes=%d faulted=%ld skipped_terms=%ld changed=%ld flagged=%ld accelerations_differing=%ld\n",
              scenes, findings.faultedScenes, findings.skipped, findings.changed, findings.flagged,
              findings.accelerations);
  return findings.changed + findings.flagged + findings.accelerations == 0 ? 0 : 1;
}
