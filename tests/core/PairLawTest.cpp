// Known values and rules of the pair law, through the literal evaluation.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/PairLaw.h"
#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using namespace testing;

class PairLawTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearFaultFlags(); }
  Model m = EmptyScene();
  LawSettings law;
};

TEST_F(PairLawTest, ShellTermIsFifteenAtUnitArgument) {
  // k = 1.0256 / 1.0256 = 1 and r = 1: x = 1, E = 15, x^E = 1, ln x = 0, so S_B = 15 and Phi = -15
  // with every other shell vanishing. Gravoscope's sign -1 makes the x acceleration +15.
  SetGroup(m, 1, 1.0L, 1.0256L, Vanishing, Vanishing, Vanishing, Vanishing);
  Place(m, 1, 1.0L, 0.0L, 0.0L);
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  EXPECT_NEAR(static_cast<double>(ForceX(m, law, 1)), 15.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(ForceX(m, law, 2)), -15.0, 1e-15);
  EXPECT_EQ(ForceY(m, law, 1), 0.0L);
  EXPECT_EQ(ForceZ(m, law, 1), 0.0L);
}

TEST_F(PairLawTest, ContactPartAtTwiceItsLength) {
  // A = G = 1, r = 2: K = (0.5 / 2.72) exp(-0.5 / 2.72), about 0.152956.
  law.Functions3X1 = true;
  SetGroup(m, 1, 1.0L, Vanishing, Vanishing, Vanishing, Vanishing, 1.0L);
  Place(m, 1, 0.0L, 0.0L, 2.0L);
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  const real expected = -(0.5L / 2.72L) * std::exp(-0.5L / 2.72L);  // sign -1, unit projection
  EXPECT_NEAR(static_cast<double>(ForceZ(m, law, 1)), static_cast<double>(expected), 1e-15);
  EXPECT_NEAR(static_cast<double>(ForceZ(m, law, 1)), -0.152956, 1e-6);
}

TEST_F(PairLawTest, ContactPartVanishesUpToItsLength) {
  law.Functions3X1 = true;
  for (real r : {1.0L, 0.5L}) {
    SetGroup(m, 1, 1.0L, Vanishing, Vanishing, Vanishing, Vanishing, 1.0L);
    Place(m, 1, r, 0.0L, 0.0L);
    Place(m, 2, 0.0L, 0.0L, 0.0L);
    EXPECT_EQ(ForceX(m, law, 1), 0.0L) << static_cast<double>(r);
  }
}

TEST_F(PairLawTest, GroupComesFromThePartner) {
  SetGroup(m, 1, 1.0L, 1.0256L, Vanishing, Vanishing, Vanishing, Vanishing);
  SetGroup(m, 2, 2.0L, 1.0256L, Vanishing, Vanishing, Vanishing, Vanishing);
  Place(m, 10, 1.0L, 0.0L, 0.0L);
  Place(m, 60, 0.0L, 0.0L, 0.0L);
  // Slot 10 feels slot 60 through group 2 (A = 2), slot 60 feels slot 10 through group 1 (A = 1).
  EXPECT_NEAR(static_cast<double>(ForceX(m, law, 10)), 30.0, 1e-14);
  EXPECT_NEAR(static_cast<double>(ForceX(m, law, 60)), -15.0, 1e-14);
}

TEST_F(PairLawTest, SignRules) {
  EXPECT_EQ(PairSign(1, 3, false), -1);
  EXPECT_EQ(PairSign(1, 2, false), -1);
  EXPECT_EQ(PairSign(1, 3, true), 1);
  EXPECT_EQ(PairSign(1, 2, true), -1);
  EXPECT_EQ(PairSign(3, 1, true), 1);
  EXPECT_EQ(PairSign(2, 1, true), -1);
  EXPECT_EQ(PairSign(100, 1, true), -1);
}

TEST_F(PairLawTest, TaoscopeFlipsEvenPairsOnly) {
  SetGroup(m, 1, 1.0L, 1.0256L, Vanishing, Vanishing, Vanishing, Vanishing);
  Place(m, 1, 1.0L, 0.0L, 0.0L);
  Place(m, 3, 0.0L, 0.0L, 0.0L);
  const real gravo = ForceX(m, law, 1);
  law.Taoscope = true;
  EXPECT_EQ(ForceX(m, law, 1), -gravo);
  m.Present[3] = false;
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  EXPECT_EQ(ForceX(m, law, 1), gravo);
}

TEST_F(PairLawTest, AbsentSlotsExertNothingButFeelTheOthers) {
  Place(m, 1, 0.3L, 0.2L, 0.1L);
  EXPECT_EQ(ForceX(m, law, 1), 0.0L);  // the only present slot
  Place(m, 2, 0.3L, 0.2L, 0.1L);       // absent, at the same place: no division by zero
  m.Present[2] = false;
  EXPECT_EQ(ForceX(m, law, 1), 0.0L);
  Place(m, 3, -0.3L, 0.0L, 0.4L);
  const real onPresent = ForceX(m, law, 1);
  m.Present[1] = false;  // an absent slot i still receives the sum of its present partners
  Place(m, 4, 0.3L, 0.2L, 0.1L);
  m.Present[4] = false;
  EXPECT_EQ(ForceX(m, law, 4), onPresent);
  EXPECT_NE(onPresent, 0.0L);
}

TEST_F(PairLawTest, AnAbsentSlotOnAPresentOneTakesNothingFromIt) {
  Place(m, 1, 0.0L, 0.0L, 0.0L);
  Place(m, 3, 0.4L, 0.0L, 0.0L);
  m.Present[2] = false;  // an empty slot of a new scene: zeros, at the origin
  const real fromSlot3 = ForceX(m, law, 2);
  EXPECT_FALSE(FaultFlagged());
  m.Present[1] = false;
  EXPECT_EQ(ForceX(m, law, 2), fromSlot3);
  EXPECT_NE(fromSlot3, 0.0L);
}

// Slot 2 at (0.3, 0.4, 1.2), 1.3 from slot 60 at the origin, with lengths around 1.3 in both
// groups, so that every shell term and the contact part count (none is below 1e-3 of the sum).
// Expected values: the law's formulas evaluated with mpmath at 40 digits from these decimals
// (scripts of the kind: x = 1.0256 / p * r; E = (2.5 - x^20) / (0.1 x); S = x^E [...]).
struct LawCase {
  bool contact, taoscope;
  double slot2[3];  // slot 2 feels slot 60 through group 2
  double slot60X;   // slot 60 feels slot 2 through group 1
};

class LawValueTest : public PairLawTest, public ::testing::WithParamInterface<LawCase> {
 protected:
  void SetUp() override {
    PairLawTest::SetUp();
    SetGroup(m, 1, 1.5L, 1.2L, 1.3L, 1.4L, 1.55L, 1.25L);
    SetGroup(m, 2, 0.8L, 1.18L, 1.35L, 1.5L, 1.65L, 1.22L);
    Place(m, 2, 0.3L, 0.4L, 1.2L);
    Place(m, 60, 0.0L, 0.0L, 0.0L);
    law = {GetParam().contact, GetParam().taoscope};
  }
  static void ExpectClose(real actual, double expected) {
    EXPECT_NEAR(static_cast<double>(actual), expected, 1e-14 * std::fabs(expected));
  }
};

TEST_P(LawValueTest, LiteralAndRunningEvaluationsGiveTheLawsValues) {
  const LawCase& c = GetParam();
  ExpectClose(ForceX(m, law, 2), c.slot2[0]);
  ExpectClose(ForceY(m, law, 2), c.slot2[1]);
  ExpectClose(ForceZ(m, law, 2), c.slot2[2]);
  ExpectClose(ForceX(m, law, 60), c.slot60X);
  // One step from rest of what the program runs: the velocity is the acceleration times dt.
  StepSettings settings;
  settings.Law = law;
  int counter = 0;
  Stepper().Step(m, settings, counter);
  ExpectClose(m.V[2] / m.dt, c.slot2[0]);
  ExpectClose(m.W[2] / m.dt, c.slot2[2]);
  ExpectClose(m.V[60] / m.dt, c.slot60X);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LawValueTest,
    ::testing::Values(LawCase{false,
                              false,
                              {1.327428812946916326, 1.769905083929221768, 5.309715251787665305},
                              4.956031253901037579},
                      LawCase{true,
                              false,
                              {2.124072457216617172, 2.832096609622156229, 8.496289828866468687},
                              -1.793076364271323640},
                      // Taoscope: 2 - 60 is even, so the sign is +1 instead of -1.
                      LawCase{false,
                              true,
                              {-1.327428812946916326, -1.769905083929221768, -5.309715251787665305},
                              -4.956031253901037579}));

struct FaultCase {
  const char* name;
  void (*arrange)(Model&, LawSettings&);
  const char* message;
};

class PairLawFaultTest : public PairLawTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PairLawFaultTest, ThrowsTheProgramsText) {
  Place(m, 1, 0.5L, 0.0L, 0.0L);
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  GetParam().arrange(m, law);
  try {
    ForceX(m, law, 1);
    FAIL() << "no fault";
  } catch (const FloatingPointFault& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PairLawFaultTest,
    ::testing::Values(
        FaultCase{"ZeroLengthOfUnusedGroup", [](Model& m, LawSettings&) { m.D3 = 0.0L; }, DivisionByZeroText},
        FaultCase{"ZeroGWithContactPart",
                  [](Model& m, LawSettings& law) {
                    law.Functions3X1 = true;
                    m.G2 = 0.0L;
                  },
                  DivisionByZeroText},
        FaultCase{"CoincidentPresentSlots", [](Model& m, LawSettings&) { Place(m, 2, 0.5L, 0.0L, 0.0L); },
                  DivisionByZeroText},
        FaultCase{"NegativeShellLength", [](Model& m, LawSettings&) { m.C1 = -5.0L; }, InvalidOperationText},
        // Several faults in one pair or in the constants: the one met first in the written order
        // is named. ln of the negative x comes before r^-2 overflows at r = 1E-2470.
        FaultCase{"NegativeLengthBeforeOverflow",
                  [](Model& m, LawSettings&) {
                    m.B1 = -1.0L;
                    Place(m, 2, 0.5L, 0.0L, 1.0E-2470L);
                  },
                  InvalidOperationText},
        FaultCase{"NaNLengthBeforeZeroLength",
                  [](Model& m, LawSettings&) {
                    m.B2 = std::numeric_limits<real>::signaling_NaN();
                    m.C2 = 0.0L;
                  },
                  InvalidOperationText},
        FaultCase{"ZeroLengthBeforeNaNLength",
                  [](Model& m, LawSettings&) {
                    m.B2 = 0.0L;
                    m.C2 = std::numeric_limits<real>::signaling_NaN();
                  },
                  DivisionByZeroText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PairLawTest, NegativeGIsHarmlessWithContactPart) {
  law.Functions3X1 = true;
  m.G1 = -30.0L;
  Place(m, 1, 0.5L, 0.0L, 0.0L);
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  EXPECT_NO_THROW(ForceX(m, law, 1));
}

}  // namespace
}  // namespace velmora
