// The fast evaluation the program runs must give the literal law's bits: every acceleration,
// and the whole state after several steps, compared byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/FastLaw.h"
#include "sim/PairLaw.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

void ExpectSameMotion(const Model& a, const Model& b) { EXPECT_EQ(testing::FirstDifference(a, b), ""); }

using testing::SettingsOf;

TEST(FastLawIdentity, EveryAccelerationOnRandomScenes) {
  std::mt19937_64 rng(20261207);
  FastLaw fast;
  for (int scene = 0; scene < 240; ++scene) {
    const bool equalGroups = scene % 3 == 0;
    const real spreads[] = {0.05L, 0.4L, 1.3L, 1.3L, 3.0L, 8.0L};
    Model m = testing::RandomScene(rng, spreads[scene % 6], 0.3 + 0.7 * (scene % 5) / 4.0, equalGroups);
    // Now and then an absent slot sits exactly on a present one.
    for (int i = 1; i + 1 <= m.N && scene % 4 == 0; i += 7)
      if (m.Present[i] && !m.Present[i + 1]) {
        m.X[i + 1] = m.X[i];
        m.Y[i + 1] = m.Y[i];
        m.Z[i + 1] = m.Z[i];
      }
    const LawSettings law = SettingsOf(scene).Law;
    SlotArray<bool> targets{};
    for (int i = 1; i <= m.N; ++i) targets[i] = true;
    SlotArray<real> ax{}, ay{}, az{};
    ClearFaultFlags();
    fast.Prepare(m, law);
    fast.Accelerations(m, targets, ax, ay, az);
    ASSERT_FALSE(FaultFlagged()) << "scene " << scene;
    for (int i = 1; i <= m.N; ++i) {
      ASSERT_TRUE(SameBits(ForceX(m, law, i), ax[i])) << "scene " << scene << " slot " << i;
      ASSERT_TRUE(SameBits(ForceY(m, law, i), ay[i])) << "scene " << scene << " slot " << i;
      ASSERT_TRUE(SameBits(ForceZ(m, law, i), az[i])) << "scene " << scene << " slot " << i;
    }
  }
}

// The fast law skips shell terms that cannot change Phi; sweep a pair's distance finely through
// the ranges where each term turns from negligible to significant, for every length in use.
// Shrinking lengths and distances together keeps every x = k r: at 2^-220 the skipping is
// decided by the test for values beyond the quick test's range.
TEST(FastLawIdentity, PairDistanceSweepAcrossTheSkippingBounds) {
  FastLaw fast;
  for (const real scale : {1.0L, 0x1p-220L})
    for (bool contact : {false, true}) {
      Model m = testing::EmptyScene();
      testing::SetGroup(m, 2, 1.5L, 0.7L * scale, 1.9L * scale, 3.3L * scale, 7.0L * scale, 13.0L * scale);
      const LawSettings law{contact, false};
      SlotArray<bool> targets{};
      targets[1] = targets[60] = true;
      for (real r = 0.002L * scale; r < 12.0L * scale; r = r * 1.0013L) {
        testing::Place(m, 1, 0.0L, 0.0L, 0.0L);
        testing::Place(m, 60, r * 0.6L, -r * 0.8L, 0.0L);
        SlotArray<real> ax{}, ay{}, az{};
        ClearFaultFlags();
        fast.Prepare(m, law);
        fast.Accelerations(m, targets, ax, ay, az);
        ASSERT_FALSE(FaultFlagged());
        for (int i : {1, 60}) {
          ASSERT_TRUE(SameBits(ForceX(m, law, i), ax[i])) << "r " << static_cast<double>(r) << " slot " << i;
          ASSERT_TRUE(SameBits(ForceY(m, law, i), ay[i])) << "r " << static_cast<double>(r) << " slot " << i;
        }
      }
    }
}

// Every thread count gives the literal bits, step after step, under every switch combination.
class FastStepIdentity : public ::testing::TestWithParam<int> {};

TEST_P(FastStepIdentity, StepsUnderEverySwitchCombination) {
  std::mt19937_64 rng(7);
  Stepper literal(Evaluation::Literal), fast(Evaluation::Fast, GetParam());
  for (unsigned combination = 0; combination < 80; ++combination) {
    const StepSettings settings = SettingsOf(combination);
    Model a = testing::RandomScene(rng, 1.3L, 0.6, combination % 3 == 0);
    a.dt = 0.0005L;
    Model b = a;
    int ca = 5, cb = 5;
    for (int step = 0; step < 3; ++step) {
      literal.Step(a, settings, ca);
      fast.Step(b, settings, cb);
    }
    SCOPED_TRACE(combination);
    ExpectSameMotion(a, b);
    EXPECT_EQ(ca, 8);
    EXPECT_EQ(cb, 8);
  }
}

// A fault in a fast step leaves exactly what the literal order leaves: slots before the faulting
// one advanced, nothing copied back, and the same message.
TEST_P(FastStepIdentity, FaultingStepLeavesTheLiteralState) {
  std::mt19937_64 rng(99);
  for (int variant = 0; variant < 12; ++variant) {
    Model a = testing::RandomScene(rng, 1.3L, 0.8, variant % 2 == 0);
    // Two present slots at one place, partway through the slots.
    const int first = 20 + variant * 5, second = first + 3;
    testing::Place(a, second, a.X[first], a.Y[first], a.Z[first]);
    a.Present[first] = true;
    Model b = a;
    const StepSettings settings = SettingsOf(variant * 7);
    Stepper literal(Evaluation::Literal), fast(Evaluation::Fast, GetParam());
    int ca = 0, cb = 0;
    std::string literalMessage, fastMessage;
    try {
      literal.Step(a, settings, ca);
    } catch (const FloatingPointFault& e) {
      literalMessage = e.what();
    }
    try {
      fast.Step(b, settings, cb);
    } catch (const FloatingPointFault& e) {
      fastMessage = e.what();
    }
    SCOPED_TRACE(variant);
    EXPECT_EQ(literalMessage, DivisionByZeroText);
    EXPECT_EQ(fastMessage, literalMessage);
    ExpectSameMotion(a, b);
    EXPECT_EQ(b.StepCount, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, FastStepIdentity, ::testing::Values(1, 2, 3, 8));

}  // namespace
}  // namespace velmora
