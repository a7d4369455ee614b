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

TEST_F(BoundaryModes, HotContactWrapsGroupOneAcrossAndKeepsTheVelocity) {
  m.NewX[7] = 3.4L;
  m.NewV[7] = 2.0L;
  m.NewX[8] = -3.4L;
  m.NewX[51] = 3.4L;  // group 2 is not wrapped
  ApplyBoundaryMode(m, BoundaryMode::HotContact);
  EXPECT_EQ(m.NewX[7], 0.5L - 3.4L);
  EXPECT_NEAR(static_cast<double>(m.NewX[7]), -2.9, 1e-18);
  EXPECT_EQ(m.NewV[7], 2.0L);
  EXPECT_NEAR(static_cast<double>(m.NewX[8]), 2.9, 1e-18);
  EXPECT_EQ(m.NewX[51], 3.4L - 0.05L);  // its band instead: above -0.945 by 0.05
}

TEST_F(BoundaryModes, ColdContactReflectsAtTheSamePlanes) {
  m.NewX[7] = 3.4L;
  m.NewV[7] = 2.0L;
  m.NewY[9] = -1.5L;
  m.NewU[9] = -1.0L;
  ApplyBoundaryMode(m, BoundaryMode::ColdContact);
  EXPECT_EQ(m.NewX[7], 3.4L - 0.001L);
  EXPECT_EQ(m.NewV[7], -2.0L);
  EXPECT_EQ(m.NewY[9], -1.5L + 0.001L);
  EXPECT_EQ(m.NewU[9], 1.0L);
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

TEST_F(BoundaryModes, CurrentChannelsFollowTheReferenceSlots) {
  m.NewY[57] = 1.0L;
  m.NewY[67] = -1.0L;
  m.NewY[10] = 0.9L;  // below its channel 1.0 .. 1.5
  m.NewU[10] = -0.3L;
  m.NewY[30] = -0.9L;  // above its channel -1.5 .. -1.0
  m.NewU[30] = 0.3L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent2);
  EXPECT_EQ(m.NewY[10], 0.9L + 0.01L);
  EXPECT_EQ(m.NewU[10], 0.3L);
  EXPECT_EQ(m.NewY[30], -0.9L - 0.01L);
  EXPECT_EQ(m.NewU[30], -0.3L);
  EXPECT_EQ(m.NewY[57], 1.0L);  // the reference slots themselves are free
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

TEST_F(BoundaryModes, ZWallsOfTheCurrentModes) {
  m.NewZ[5] = 0.42L;
  m.NewY[57] = -0.25L;
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent1);
  EXPECT_EQ(m.NewZ[5], 0.42L);  // inside 0.44
  ApplyBoundaryMode(m, BoundaryMode::ElecCurrent2);
  EXPECT_EQ(m.NewZ[5], 0.42L - 0.01L);  // beyond 0.4
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
