// The confinement modes on the working arrays.

#include <gtest/gtest.h>

#include <cmath>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/BoundaryModes.h"
#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

class BoundaryModes : public ::testing::Test {
 protected:
  void SetUp() override { ClearFaultFlags(); }
  Model m = testing::EmptyScene();
};

// Every rule of every mode just inside and just beyond its threshold: one slot's working
// coordinate q and velocity w before and after the mode, on a scene whose reference slots put
// the current modes' y-channels at 0.2 .. 0.7 (slots 1-25) and -0.7 .. -0.2 (slots 26-50).
// The expected values are the thresholds' decimals worked by hand.
struct RuleCase {
  const char* what;
  BoundaryMode mode;
  int slot;
  SlotArray<real> Model::*q;
  SlotArray<real> Model::*w;
  real q0, w0, q1, w1;
};

constexpr auto X = &Model::NewX, Y = &Model::NewY, Z = &Model::NewZ;
constexpr auto V = &Model::NewV, U = &Model::NewU, W = &Model::NewW;
constexpr BoundaryMode Hot = BoundaryMode::HotContact, Cold = BoundaryMode::ColdContact,
                       Current1 = BoundaryMode::ElecCurrent1, Current2 = BoundaryMode::ElecCurrent2;

const RuleCase RuleCases[] = {
    {"hot: inside 3.3", Hot, 7, X, V, 3.2L, 1.0L, 3.2L, 1.0L},
    {"hot: wrapped across, velocity kept", Hot, 7, X, V, 3.4L, 2.0L, -2.9L, 2.0L},
    {"hot: wrapped back", Hot, 8, X, V, -3.4L, 0.0L, 2.9L, 0.0L},
    {"hot: y inside 1.3", Hot, 9, Y, U, 1.25L, 1.0L, 1.25L, 1.0L},
    {"hot: y wall", Hot, 9, Y, U, 1.35L, 1.0L, 1.349L, -1.0L},
    {"hot: lower z wall", Hot, 9, Z, W, -1.35L, -1.0L, -1.349L, 1.0L},
    {"hot: slot 51 banded, not wrapped", Hot, 51, X, V, 3.4L, 0.0L, 3.35L, 0.0L},
    {"hot: band lifts slot 51", Hot, 51, X, V, -1.2L, 0.0L, -1.15L, 0.0L},
    {"hot: band lowers slot 55", Hot, 55, X, V, 0.0L, 0.0L, -0.05L, 0.0L},
    {"hot: slot 56 free", Hot, 56, X, V, 0.0L, 0.0L, 0.0L, 0.0L},
    {"cold: reflected at 3.3", Cold, 7, X, V, 3.4L, 2.0L, 3.399L, -2.0L},
    {"cold: lower y wall", Cold, 9, Y, U, -1.5L, -1.0L, -1.499L, 1.0L},
    {"current 1: inside 1.11", Current1, 3, X, V, 1.105L, 0.0L, 1.105L, 0.0L},
    {"current 1: z inside 0.44", Current1, 5, Z, W, 0.42L, 1.0L, 0.42L, 1.0L},
    {"current 1: upper z wall", Current1, 5, Z, W, 0.45L, 1.0L, 0.44L, -1.0L},
    {"current 1: lower z wall", Current1, 5, Z, W, -0.45L, -1.0L, -0.44L, 1.0L},
    {"current 1: below the low channel", Current1, 10, Y, U, 0.15L, -1.0L, 0.16L, 1.0L},
    {"current 1: inside the low channel", Current1, 10, Y, U, 0.5L, 1.0L, 0.5L, 1.0L},
    {"current 1: above the low channel", Current1, 10, Y, U, 0.75L, 1.0L, 0.74L, -1.0L},
    {"current 1: slot 25 in the low channel", Current1, 25, Y, U, 0.5L, 1.0L, 0.5L, 1.0L},
    {"current 1: slot 26 in the high channel", Current1, 26, Y, U, -0.5L, 1.0L, -0.5L, 1.0L},
    {"current 1: above the high channel", Current1, 30, Y, U, -0.1L, 1.0L, -0.11L, -1.0L},
    {"current 1: reference slot free", Current1, 57, Y, U, 0.2L, 1.0L, 0.2L, 1.0L},
    {"current 1: band 50-54 lowers 54", Current1, 54, X, V, -0.94L, 0.0L, -0.99L, 0.0L},
    {"current 1: slot 55 free", Current1, 55, X, V, -0.94L, 0.0L, -0.94L, 0.0L},
    {"current 1: band 60-64 lifts 60", Current1, 60, X, V, -1.02L, 0.0L, -0.97L, 0.0L},
    {"current 1: band 60-64 lifts 61", Current1, 61, X, V, -1.05L, 0.0L, -1.0L, 0.0L},
    {"current 1: inside band 60-64", Current1, 62, X, V, -0.947L, 0.0L, -0.947L, 0.0L},
    {"current 1: band 60-64 lowers 64", Current1, 64, X, V, -0.9L, 0.0L, -0.95L, 0.0L},
    {"current 1: slot 65 free", Current1, 65, X, V, -0.9L, 0.0L, -0.9L, 0.0L},
    {"current 2: wrapped at 1", Current2, 3, X, V, 1.03L, 0.0L, -0.98L, 0.0L},
    {"current 2: z wall at 0.4", Current2, 5, Z, W, 0.42L, 1.0L, 0.41L, -1.0L},
    {"current 2: above the high channel", Current2, 30, Y, U, -0.1L, 1.0L, -0.11L, -1.0L},
    {"current 2: slot 54 free", Current2, 54, X, V, 0.0L, 0.0L, 0.0L, 0.0L},
    {"current 2: band 55-60 lifts 55", Current2, 55, X, V, -0.4L, 0.0L, -0.35L, 0.0L},
    {"current 2: inside band 55-60", Current2, 60, X, V, -0.247L, 0.0L, -0.247L, 0.0L},
    {"current 2: band 55-60 lowers 60", Current2, 60, X, V, 0.0L, 0.0L, -0.05L, 0.0L},
    {"current 2: slot 61 free", Current2, 61, X, V, 0.0L, 0.0L, 0.0L, 0.0L},
    {"current 2: slot 64 free", Current2, 64, X, V, 0.5L, 0.0L, 0.5L, 0.0L},
    {"current 2: band 65-70 lifts 65", Current2, 65, X, V, 0.2L, 0.0L, 0.25L, 0.0L},
    {"current 2: inside band 65-70", Current2, 70, X, V, 0.353L, 0.0L, 0.353L, 0.0L},
    {"current 2: band 65-70 lowers 70", Current2, 70, X, V, 0.5L, 0.0L, 0.45L, 0.0L},
    {"current 2: slot 71 free", Current2, 71, X, V, 0.5L, 0.0L, 0.5L, 0.0L},
};

TEST_F(BoundaryModes, EachRuleAtAndAroundItsThreshold) {
  for (const RuleCase& c : RuleCases) {
    Model scene = testing::EmptyScene();
    scene.NewY[57] = 0.2L;
    scene.NewY[67] = -0.2L;
    (scene.*c.q)[c.slot] = c.q0;
    (scene.*c.w)[c.slot] = c.w0;
    ApplyBoundaryMode(scene, c.mode);
    EXPECT_NEAR(static_cast<double>((scene.*c.q)[c.slot]), static_cast<double>(c.q1), 1e-15) << c.what;
    EXPECT_EQ((scene.*c.w)[c.slot], c.w1) << c.what;
  }
}

TEST_F(BoundaryModes, SoftLimitsRemoveOneStepWithoutClamping) {
  for (BoundaryMode mode : {BoundaryMode::HotContact, BoundaryMode::ColdContact}) {
    m.NewV[3] = 103.0L;
    m.NewU[3] = 250.0L;
    m.NewW[3] = -103.0L;
    ApplyBoundaryMode(m, mode);
    EXPECT_EQ(m.NewV[3], 98.0L);
    EXPECT_EQ(m.NewU[3], 245.0L);
    EXPECT_EQ(m.NewW[3], -98.0L);
  }
  m.NewU[3] = 60.0L;
  m.NewY[57] = 0.0L;  // slot 3's channel: 0 .. 0.5
  m.NewY[3] = 0.2L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent1);
  EXPECT_EQ(m.NewU[3], 35.0L);
}

TEST_F(BoundaryModes, SlotFiftyIsMobileThenABandSlotUnderCurrentOne) {
  // Pass 1 wraps x = 1.13 to 0.05 - 1.13 = -1.08; the band pass 6 then lifts it by 0.05.
  m.NewX[50] = 1.13L;
  m.NewY[50] = -0.7L;  // inside its channel below slot 67 at -0.5
  m.NewY[67] = -0.5L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent1);
  EXPECT_EQ(m.NewX[50], (0.05L - 1.13L) + 0.05L);
  // Under current 2 slot 50 is not a band slot.
  m.NewX[50] = 1.03L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent2);
  EXPECT_EQ(m.NewX[50], 0.05L - 1.03L);
}

TEST_F(BoundaryModes, WrapsOfOnePassActInTurn) {
  // The lower wrap follows the upper one in the same pass, so far beyond the edge the particle
  // is sent across and back: 1.2 -> 0.05 - 1.2 = -1.15 -> 1.15 - 0.05.
  m.NewX[3] = 1.2L;
  m.NewY[57] = m.NewY[3] = 0.1L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent1);
  EXPECT_EQ(m.NewX[3], -(0.05L - 1.2L) - 0.05L);
}

TEST_F(BoundaryModes, AbsentSlotsAreConfinedToo) {
  m.Present[7] = false;
  m.NewX[7] = 3.4L;
  ApplyBoundaryMode(m, BoundaryMode::HotContact);
  EXPECT_LT(m.NewX[7], 0.0L);
}

TEST_F(BoundaryModes, AStepShowsTheAdjustmentOneStepLate) {
  testing::Place(m, 7, 3.4L, 0.0L, 0.0L);
  m.dt = 0.0L;
  Stepper stepper(Evaluation::Fast, 1);
  StepSettings settings;
  settings.Mode = BoundaryMode::HotContact;
  int c = 0;
  stepper.Step(m, settings, c);
  EXPECT_EQ(m.X[7], 3.4L);  // current and display arrays keep the unadjusted position
  EXPECT_LT(m.NewX[7], 0.0L);
  stepper.Step(m, settings, c);
  EXPECT_EQ(m.X[7], m.NewX[7]);
  EXPECT_EQ(m.ShownX[7], m.X[7]);
}

TEST_F(BoundaryModes, FreeModeLeavesTheWorkingArrays) {
  m.NewX[7] = 3.4L;
  m.NewV[7] = 250.0L;
  ApplyBoundaryMode(m, BoundaryMode::Free);
  EXPECT_EQ(m.NewX[7], 3.4L);
  EXPECT_EQ(m.NewV[7], 250.0L);
}

TEST_F(BoundaryModes, NaNStopsTheModeAsAnInvalidOperation) {
  m.NewX[4] = std::nanl("");
  m.NewX[9] = 3.4L;
  try {
    ApplyBoundaryMode(m, BoundaryMode::HotContact);
    FAIL() << "no fault";
  } catch (const FloatingPointFault& e) {
    EXPECT_STREQ(e.what(), InvalidOperationText);
  }
  EXPECT_EQ(m.NewX[9], 3.4L);  // the mode stopped at slot 4
}

}  // namespace
}  // namespace velmora
