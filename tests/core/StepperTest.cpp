// The integration schedules and the velocity reset.

#include <gtest/gtest.h>

#include <cmath>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/PairLaw.h"
#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using testing::Place;

TEST(Stepper, FullScheduleIsSemiImplicitEulerFromTheStartPositions) {
  Model m = testing::EmptyScene();
  Place(m, 1, 0.4L, 0.0L, 0.0L);
  Place(m, 2, -0.4L, 0.1L, 0.0L);
  m.V[1] = m.NewV[1] = 0.5L;
  const real a1 = ForceX(m, {}, 1);
  const real a2 = ForceX(m, {}, 2);
  Stepper stepper;
  int counter = 0;
  stepper.Step(m, {}, counter);
  const real v1 = 1.0L * 0.5L + a1 * m.dt;
  EXPECT_EQ(m.NewV[1], v1);
  EXPECT_EQ(m.X[1], 0.4L + v1 * m.dt);
  EXPECT_EQ(m.X[2], -0.4L + (1.0L * 0.0L + a2 * m.dt) * m.dt);
  EXPECT_EQ(m.ShownX[1], m.X[1]);
  EXPECT_EQ(m.V[1], m.NewV[1]);
  EXPECT_EQ(counter, 1);
  EXPECT_EQ(m.StepCount, 1);
}

TEST(Stepper, CounterContinuesFromWhatItIsHanded) {
  Model m = testing::EmptyScene();
  Stepper stepper;
  int counter = 41;
  stepper.Step(m, {}, counter);
  EXPECT_EQ(counter, 42);
  EXPECT_EQ(m.StepCount, 42);
}

TEST(Stepper, AbsentSlotsMoveWithoutBlockadeOnly) {
  Model m = testing::EmptyScene();
  Place(m, 1, 0.4L, 0.0L, 0.0L);
  Place(m, 2, -0.4L, 0.0L, 0.0L);
  m.Present[2] = false;
  m.V[2] = m.NewV[2] = 1.0L;
  Model blockade = m;
  Stepper stepper;
  int c = 0;
  stepper.Step(m, {}, c);
  EXPECT_NE(m.X[2], -0.4L);
  StepSettings s;
  s.Blockade = true;
  stepper.Step(blockade, s, c);
  EXPECT_EQ(blockade.X[2], -0.4L);
  EXPECT_EQ(blockade.V[2], 1.0L);
}

TEST(Stepper, BlockadeHoldsSlots76To80AndMovesSlots71To75AlongXOnly) {
  std::mt19937_64 rng(3);
  Model m = testing::RandomScene(rng, 1.3L, 1.0, true);
  const Model before = m;
  StepSettings s;
  s.Blockade = true;
  Stepper stepper;
  int c = 0;
  for (int step = 0; step < 3; ++step) stepper.Step(m, s, c);
  for (int i = 76; i <= 80; ++i) {
    EXPECT_EQ(m.X[i], before.X[i]);
    EXPECT_EQ(m.Y[i], before.Y[i]);
    EXPECT_EQ(m.Z[i], before.Z[i]);
    EXPECT_EQ(m.V[i], before.V[i]);
    EXPECT_EQ(m.NewW[i], before.NewW[i]);
  }
  for (int i = 71; i <= 75; ++i) {
    EXPECT_NE(m.X[i], before.X[i]);
    EXPECT_EQ(m.ShownX[i], m.X[i]);
    EXPECT_EQ(m.Y[i], before.Y[i]);
    EXPECT_EQ(m.Z[i], before.Z[i]);
    EXPECT_EQ(m.U[i], before.U[i]);
    EXPECT_EQ(m.W[i], before.W[i]);
  }
  EXPECT_NE(m.Y[70], before.Y[70]);
  EXPECT_NE(m.Y[81], before.Y[81]);
}

TEST(Stepper, CoolDampsEveryVelocityBy095) {
  Model m = testing::EmptyScene();  // nothing present: every acceleration is 0
  m.V[5] = m.NewV[5] = 2.0L;
  m.W[99] = m.NewW[99] = -1.0L;
  StepSettings s;
  s.Cool = true;
  Stepper stepper;
  int c = 0;
  stepper.Step(m, s, c);
  stepper.Step(m, s, c);
  EXPECT_EQ(m.V[5], 0.95L * (0.95L * 2.0L));
  EXPECT_EQ(m.W[99], 0.95L * (0.95L * -1.0L));
}

TEST(Stepper, ZeroTimeStepMovesNothingButCounts) {
  std::mt19937_64 rng(5);
  Model m = testing::RandomScene(rng, 1.3L, 1.0, false);
  m.dt = 0.0L;
  const Model before = m;
  Stepper stepper;
  int c = 0;
  for (int step = 0; step < 4; ++step) stepper.Step(m, {}, c);
  EXPECT_EQ(m.X, before.X);
  EXPECT_EQ(m.V, before.V);
  EXPECT_EQ(m.StepCount, 4);
}

TEST(Stepper, FaultLeavesEarlierSlotsAdvancedAndNothingCopiedBack) {
  Model m = testing::EmptyScene();
  Place(m, 1, 0.5L, 0.0L, 0.0L);
  Place(m, 2, -0.5L, 0.0L, 0.0L);
  Place(m, 3, 0.0L, 0.5L, 0.0L);
  Place(m, 4, 0.0L, 0.5L, 0.0L);  // coincides with slot 3
  m.StepCount = 7;
  const Model before = m;
  for (Evaluation evaluation : {Evaluation::Literal, Evaluation::Fast}) {
    Model run = before;
    Stepper stepper(evaluation);
    int c = 7;
    EXPECT_THROW(
        {
          try {
            stepper.Step(run, {}, c);
          } catch (const FloatingPointFault& e) {
            EXPECT_STREQ(e.what(), DivisionByZeroText);
            throw;
          }
        },
        FloatingPointFault);
    // Slots 1 and 2 were advanced on all three axes (slot 1 feels slot 3 and 4 as well, but they
    // are not coincident with it); slot 3 faulted on its x axis before anything of it changed.
    EXPECT_NE(run.NewV[1], before.NewV[1]);
    EXPECT_NE(run.NewV[2], before.NewV[2]);
    EXPECT_EQ(run.NewV[3], before.NewV[3]);
    EXPECT_EQ(run.X, before.X);  // no copy-back
    EXPECT_EQ(run.StepCount, 7);
    EXPECT_EQ(c, 8);
  }
}

TEST(Stepper, APresentParticleAtTheOriginOfANewSceneRuns) {
  Model m = testing::EmptyScene();  // absent slots 2..100 lie at the origin
  Place(m, 1, 0.0L, 0.0L, 0.0L);
  Place(m, 60, 0.5L, 0.0L, 0.0L);
  for (Evaluation evaluation : {Evaluation::Literal, Evaluation::Fast}) {
    Model run = m;
    Stepper stepper(evaluation, 2);
    int c = 0;
    EXPECT_NO_THROW(stepper.Step(run, {}, c));
    EXPECT_EQ(run.StepCount, 1);
    EXPECT_NE(run.X[2], 0.0L);  // the absent slot still feels slot 60
  }
}

TEST(Stepper, ZeroVelocitiesClearsCurrentAndWorkingCopiesOnly) {
  std::mt19937_64 rng(11);
  Model m = testing::RandomScene(rng, 1.3L, 0.5, false);
  const Model before = m;
  ZeroVelocities(m);
  for (int i = 1; i <= m.N; ++i) {
    EXPECT_EQ(m.V[i], 0.0L);
    EXPECT_EQ(m.U[i], 0.0L);
    EXPECT_EQ(m.W[i], 0.0L);
    EXPECT_EQ(m.NewV[i], 0.0L);
    EXPECT_EQ(m.NewU[i], 0.0L);
    EXPECT_EQ(m.NewW[i], 0.0L);
  }
  EXPECT_EQ(m.X, before.X);
  EXPECT_EQ(m.NewZ, before.NewZ);
}

}  // namespace
}  // namespace velmora
