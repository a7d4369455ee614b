// The measured quantities against the law they describe, and the exact number form of the log.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/FloatingPointFaults.h"
#include "sim/Observables.h"
#include "sim/PairLaw.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"
#include "text/NumberText.h"
#include "text/ObservableLog.h"

namespace velmora {
namespace {

using namespace testing;

struct LawCase {
  bool equalGroups, contact, taoscope;
};

class PairEnergyGradient : public ::testing::TestWithParam<LawCase> {};

constexpr int SlotA = 7, SlotB = 52;  // an odd difference: Taoscope's sign differs from Gravoscope's

// Slots SlotA (group 1) and SlotB (group 2) within reach of each other, alone in the scene.
Model PairScene(const LawCase& c) {
  Model m = EmptyScene();
  SetGroup(m, 1, 1.0L, 0.9L, 1.3L, 1.7L, 2.2L, 0.8L);
  if (c.equalGroups)
    SetGroup(m, 2, 1.0L, 0.9L, 1.3L, 1.7L, 2.2L, 0.8L);
  else
    SetGroup(m, 2, -1.5L, 1.1L, 1.2L, 1.9L, 2.6L, 0.7L);
  Place(m, SlotA, 0.3L, 0.4L, 0.2L);
  Place(m, SlotB, 1.2L, 0.5L, 0.9L);
  return m;
}

// -dP(i,j)/dq_i by central differences equals the acceleration the literal law gives slot i
// when j is its only partner, on every axis and from both ends of the pair.
TEST_P(PairEnergyGradient, IsTheLawsAcceleration) {
  const LawCase c = GetParam();
  const Model m = PairScene(c);
  const LawSettings law{c.contact, c.taoscope};
  SlotArray<real> Model::*axes[] = {&Model::X, &Model::Y, &Model::Z};
  real (*forces[])(const Model&, const LawSettings&, int) = {ForceX, ForceY, ForceZ};
  constexpr real h = 1.0e-6L;
  for (auto [i, j] : {std::pair{SlotA, SlotB}, std::pair{SlotB, SlotA}}) {
    for (int axis = 0; axis < 3; ++axis) {
      ClearFaultFlags();
      const real force = forces[axis](m, law, i);
      Model moved = m;
      real& q = (moved.*axes[axis])[i];
      q = (m.*axes[axis])[i] + h;
      const real up = PairEnergy(moved, law, i, j);
      q = (m.*axes[axis])[i] - h;
      const real down = PairEnergy(moved, law, i, j);
      const real gradient = -(up - down) / (2.0L * h);
      EXPECT_NEAR(static_cast<double>(gradient), static_cast<double>(force),
                  1e-7 * std::fabs(static_cast<double>(force)))
          << "slot " << i << " axis " << axis;
      EXPECT_GT(std::fabs(static_cast<double>(force)), 1e-3);  // the pair is within reach of the law
    }
  }
}

// The measured potential of the pair is the mean of what each slot sees of the other, to the bit.
TEST_P(PairEnergyGradient, MeasuredPotentialIsTheMeanOfBothSides) {
  const LawCase c = GetParam();
  const Model m = PairScene(c);
  const LawSettings law{c.contact, c.taoscope};
  const real seenByA = PairEnergy(m, law, SlotA, SlotB), seenByB = PairEnergy(m, law, SlotB, SlotA);
  EXPECT_NE(seenByA, 0.0L);
  EXPECT_EQ(Measure(m, law)[Quantity::Potential], (seenByA + seenByB) / 2.0L);
}

INSTANTIATE_TEST_SUITE_P(Laws, PairEnergyGradient,
                         ::testing::Values(LawCase{true, false, false}, LawCase{true, true, false},
                                           LawCase{true, false, true}, LawCase{true, true, true},
                                           LawCase{false, false, false}, LawCase{false, true, false},
                                           LawCase{false, false, true}, LawCase{false, true, true}));

TEST(Observables, KinematicQuantitiesOfPresentSlots) {
  Model m = EmptyScene();
  Place(m, 1, 0.0L, 0.0L, 0.0L);
  Place(m, 60, 2.0L, 0.0L, 0.0L);
  Place(m, 90, 0.0L, 2.0L, 0.0L);
  Place(m, 30, 0.1L, 0.1L, 0.1L);
  m.Present[30] = false;  // absent: neither its place nor its speed counts
  m.V[30] = 100.0L;
  m.V[1] = 3.0L, m.U[1] = 4.0L, m.W[60] = -1.0L;
  const Observables o = Measure(m, {});
  const struct {
    Quantity q;
    real expected;
  } rows[] = {{Quantity::Kinetic, 13.0L},       {Quantity::Kinetic1, 12.5L}, {Quantity::Kinetic2, 0.5L},
              {Quantity::Kinetic3, 0.0L},       {Quantity::Fastest, 5.0L},   {Quantity::Closest, 2.0L},
              {Quantity::Gyration, 4.0L / 3.0L}};
  for (const auto& row : rows)
    EXPECT_NEAR(static_cast<double>(o[row.q]), static_cast<double>(row.expected), 1e-15)
        << QuantityNames[static_cast<int>(row.q)];
  EXPECT_EQ(o[Quantity::Total], o[Quantity::Kinetic] + o[Quantity::Potential]);

  const Observables none = Measure(EmptyScene(), {});
  EXPECT_EQ(none[Quantity::Potential], 0.0L);
  EXPECT_EQ(none[Quantity::Fastest], 0.0L);
  EXPECT_TRUE(std::isinf(none[Quantity::Closest]));
  EXPECT_TRUE(std::isnan(none[Quantity::Gyration]));

  // A NaN in the last slot measured, after numbers: every quantity that reads it is NAN.
  m.Y[90] = NAN, m.W[90] = NAN;
  const Observables broken = Measure(m, {});
  for (const Quantity q : {Quantity::Kinetic, Quantity::Kinetic3, Quantity::Potential, Quantity::Total,
                           Quantity::Gyration, Quantity::Closest, Quantity::Fastest})
    EXPECT_TRUE(std::isnan(broken[q])) << QuantityNames[static_cast<int>(q)];
}

// A few slots starting at rest in each other's wells, all groups equal: after the same span of
// time, halving dt makes the largest excursion of total from its start smaller each time.
TEST(Observables, TotalDriftShrinksWithTheTimeStep) {
  Model start = EmptyScene();
  for (int g = 1; g <= GroupCount; ++g) SetGroup(start, g, 1.0L, 0.9L, 1.3L, 1.7L, 2.2L, 0.8L);
  Place(start, 3, 0.0L, 0.0L, 0.0L);
  Place(start, 40, 1.1L, 0.1L, 0.0L);
  Place(start, 66, 0.2L, 1.2L, -0.1L);
  Place(start, 81, 0.5L, 0.4L, 1.0L);
  real previous = INFINITY;
  for (real dt : {4.0e-3L, 2.0e-3L, 1.0e-3L}) {
    Model m = start;
    m.dt = dt;
    Stepper stepper(Evaluation::Fast, 1);
    const real total0 = Measure(m, {})[Quantity::Total];
    real drift = 0.0L;
    int counter = 0;
    for (int step = 0; step < static_cast<int>(1.0L / dt); ++step) {
      stepper.Step(m, {}, counter);
      drift = std::fmax(drift, std::fabs(Measure(m, {})[Quantity::Total] - total0));
    }
    EXPECT_LT(drift, 0.75L * previous) << static_cast<double>(dt);
    previous = drift;
  }
}

// Measuring after every step gives the run the same bits as not measuring, and the FPU's flags
// (which the step's fault checkpoints read) stay as they were, even for a pair at one place.
TEST(Observables, MeasuringChangesNothing) {
  std::mt19937_64 rng(7);
  Model measured = testing::RandomScene(rng, 1.3L, 0.5, false);
  Place(measured, 99, measured.X[98], measured.Y[98], measured.Z[98]);
  measured.Present[98] = measured.Present[99] = false;
  Model plain = measured;
  Stepper a, b;
  int ca = 0, cb = 0;
  for (int step = 0; step < 5; ++step) {
    a.Step(plain, {}, ca);
    b.Step(measured, {}, cb);
    measured.Present[98] = measured.Present[99] = true;
    ClearFaultFlags();
    Measure(measured, {});
    EXPECT_FALSE(FaultFlagged());
    measured.Present[98] = measured.Present[99] = false;
  }
  EXPECT_EQ(testing::FirstDifference(plain, measured), "");
  // Nor does a slot so far off that its distances overflow.
  Place(measured, 97, 1.0e3000L, 0.0L, 0.0L);
  ClearFaultFlags();
  Measure(measured, {});
  EXPECT_FALSE(FaultFlagged());
}

TEST(ObservableLog, NumbersReadBackToTheSameBits) {
  std::mt19937_64 rng(3);
  std::uniform_int_distribution<int> exponent(-16440, 16380);
  std::uniform_real_distribution<long double> mantissa(-1.0L, 1.0L);
  std::vector<real> values = {0.0L, -0.0L,    1.0L,     -3.0L * LDBL_TRUE_MIN,
                              0.1L, LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN};
  for (int n = 0; n < 2000; ++n) values.push_back(std::ldexp(mantissa(rng), exponent(rng)));
  for (real value : values) {
    const std::string text = FormatExact(value);
    EXPECT_TRUE(SameBits(ParseReal(text, '.'), value)) << text;
  }
  const struct {
    real value;
    const char* text;
  } rows[] = {{1.0L, "1.00000000000000000000e+00"},
              {-0.1L, "-1.00000000000000000001e-01"},
              {INFINITY, "INF"},
              {-INFINITY, "-INF"},
              {NAN, "NAN"}};
  for (const auto& row : rows) EXPECT_EQ(FormatExact(row.value), row.text);

  Observables o;
  o[Quantity::Closest] = INFINITY;
  o[Quantity::Fastest] = 2.5L;
  EXPECT_EQ(ObservableLogHeader(),
            "step\tkinetic\tpotential\ttotal\tkinetic1\tkinetic2\tkinetic3\tgyration\tclosest\tfastest\n");
  const std::string zero = "0.00000000000000000000e+00\t";
  EXPECT_EQ(ObservableLogRow(12, o),
            "12\t" + zero + zero + zero + zero + zero + zero + zero + "INF\t2.50000000000000000000e+00\n");
}

}  // namespace
}  // namespace velmora
