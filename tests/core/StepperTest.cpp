// The integration schedules and the velocity reset.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

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

// The 32-bit counter wraps at its end (the sanitizer build fails on an overflowing addition).
TEST(Stepper, CounterContinuesFromWhatItIsHandedAndWraps) {
  const struct { int handed, next; } cases[] = {{41, 42}, {-1, 0}, {2147483647, -2147483647 - 1}};
  for (const auto& c : cases) {
    Model m = testing::EmptyScene();
    Stepper stepper;
    int counter = c.handed;
    stepper.Step(m, {}, counter);
    EXPECT_EQ(counter, c.next);
    EXPECT_EQ(m.StepCount, c.next);
  }
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

// Blockade: slots 1-70 and 81-100 advance from the positions at the start of the step; 71-75
// then advance along x only, feeling the new positions of those slots; 76-80 stay as they are.
// Slot 1 moves fast, so a wrong order of the passes shows in the acceleration of 71-75.
TEST(Stepper, BlockadePassesMoveHoldOrTurnEachRangeInTurn) {
  Model start = testing::EmptyScene();
  start.dt = 0.01L;
  Place(start, 1, -0.2L, 1.0L, 0.0L);
  start.V[1] = start.NewV[1] = 20.0L;
  for (int i = 66; i <= 85; ++i) {
    Place(start, i, 0.45L * (i - 70), 0.3L * (i % 3 - 1), 0.2L * (i % 2));
    start.U[i] = start.NewU[i] = 0.5L;
  }
  start.Present[68] = false;  // absent slots are not touched
  enum Kind { Free, AlongX, Held };
  const auto kindOf = [](int i) { return i >= 71 && i <= 75 ? AlongX : i >= 76 && i <= 80 ? Held : Free; };
  const auto advance = [&](real q, real v, real a) {
    const real w = v + a * start.dt;
    return std::pair{q + w * start.dt, w};
  };
  for (Evaluation evaluation : {Evaluation::Literal, Evaluation::Fast}) {
    Model m = start;
    StepSettings s;
    s.Blockade = true;
    int c = 0;
    Stepper(evaluation).Step(m, s, c);
    Model afterFree = start;  // the positions slots 71-75 feel
    for (int i = 1; i <= m.N; ++i)
      if (kindOf(i) == Free) afterFree.X[i] = m.X[i], afterFree.Y[i] = m.Y[i], afterFree.Z[i] = m.Z[i];
    for (int i : {1, 66, 68, 70, 71, 73, 75, 76, 78, 80, 81, 85}) {
      const Kind kind = start.Present[i] ? kindOf(i) : Held;
      const Model& felt = kind == AlongX ? afterFree : start;
      const auto [x, v] = kind == Held ? std::pair{start.X[i], start.V[i]}
                                       : advance(start.X[i], start.V[i], ForceX(felt, {}, i));
      const auto [y, u] = kind == Free ? advance(start.Y[i], start.U[i], ForceY(start, {}, i))
                                       : std::pair{start.Y[i], start.U[i]};
      EXPECT_EQ(m.X[i], x) << "slot " << i;
      EXPECT_EQ(m.V[i], v) << "slot " << i;
      EXPECT_EQ(m.ShownX[i], x) << "slot " << i;
      EXPECT_EQ(m.Y[i], y) << "slot " << i;
      EXPECT_EQ(m.U[i], u) << "slot " << i;
      EXPECT_EQ(m.NewY[i], y) << "slot " << i;
      EXPECT_EQ(m.ShownZ[i], m.Z[i]) << "slot " << i;
    }
    EXPECT_NE(m.X[71], start.X[71]);
    EXPECT_GT(std::fabs(afterFree.X[1] - start.X[1]), 0.1L);
  }
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

// The first update overflows (a dt of 1E1000 times a force near 1E4000): it stores nothing, so
// the next run and a save start from what the step found.
TEST(Stepper, AFaultingUpdateStoresNothing) {
  Model m = testing::EmptyScene();
  Place(m, 1, 0.4L, 0.0L, 0.0L);
  Place(m, 2, -0.4L, 0.0L, 0.0L);
  m.A1 = 1.0E4000L;
  m.dt = 1.0E1000L;
  for (Evaluation evaluation : {Evaluation::Literal, Evaluation::Fast}) {
    Model run = m;
    Stepper stepper(evaluation);
    int c = 0;
    try {
      stepper.Step(run, {}, c);
      ADD_FAILURE() << "no fault";
    } catch (const FloatingPointFault& e) {
      EXPECT_STREQ(e.what(), OverflowText);
    }
    EXPECT_EQ(run.NewV, m.NewV);
    EXPECT_EQ(run.NewX, m.NewX);
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

// A run refuses a value that is not a number and names the first one: dt, then the parameters,
// then the present slots in order. Absent slots and numbers pass.
TEST(Stepper, ARunRefusesAValueThatIsNotANumberAndNamesIt) {
  Model sane = testing::EmptyScene();
  Place(sane, 12, 0.5L, 0.0L, 0.0L);
  Place(sane, 40, -0.5L, 0.0L, 0.0L);
  const real nan = std::numeric_limits<real>::quiet_NaN();
  const real unnormal = [] {  // an encoding the FPU refuses as an operand
    real value = 0.0L;
    const unsigned char bytes[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
    std::memcpy(&value, bytes, 10);
    return value;
  }();
  const struct {
    std::function<void(Model&)> change;
    const char* named;  // nullptr: the run may start
  } rows[] = {
      {[](Model&) {}, nullptr},
      {[&](Model& m) { m.dt = nan; }, "dt"},
      {[&](Model& m) { m.A1 = nan; }, "A1"},
      {[&](Model& m) { m.G3 = unnormal; }, "G3"},
      {[&](Model& m) { m.X[12] = nan; }, "X of slot 12"},
      {[&](Model& m) { m.Y[12] = nan; }, "Y of slot 12"},
      {[&](Model& m) { m.Z[40] = nan; }, "Z of slot 40"},
      {[&](Model& m) { m.V[40] = nan; }, "V of slot 40"},
      {[&](Model& m) { m.U[12] = nan; }, "U of slot 12"},
      {[&](Model& m) { m.W[100] = nan, m.W[40] = nan; }, "W of slot 40"},
      {[&](Model& m) { m.W[99] = nan, m.X[1] = std::numeric_limits<real>::infinity(); }, nullptr},
      {[&](Model& m) { m.dt = nan, m.V[12] = nan; }, "dt"},
  };
  for (const auto& row : rows) {
    Model m = sane;
    row.change(m);
    if (!row.named) {
      EXPECT_NO_THROW(ThrowIfNotANumber(m));
      continue;
    }
    try {
      ThrowIfNotANumber(m);
      ADD_FAILURE() << row.named << " not refused";
    } catch (const FloatingPointFault& fault) {
      EXPECT_EQ(fault.what(), std::string(InvalidOperationText) + ": " + row.named);
    }
    EXPECT_FALSE(FaultFlagged()) << row.named;
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
