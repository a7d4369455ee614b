// The relaxer against results no one here computed: the global minima of Lennard-Jones clusters
// as the Cambridge Cluster Database lists them, reached from shaken ideal shapes on a test-only
// law; and on the program's own law, rest as the literal law sees it, the same bits on any
// number of threads, faults and the step limit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bench/BenchmarkScenes.h"
#include "relax/FireRelaxer.h"
#include "sim/PairLaw.h"
#include "sim/StepFault.h"
#include "sim/Stepper.h"
#include "structure/PointGroup.h"
#include "structure/StructureAnalysis.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/Shapes.h"

namespace velmora {
namespace {

using namespace testing;

// Lennard-Jones with epsilon = sigma = 1 and unit masses: U = 4 (r^-12 - r^-6) per pair, so the
// acceleration of i from j is 24 (2 r^-14 - r^-8) (q_i - q_j).
void LennardJones(const Model& m, SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az) {
  for (int i = 1; i <= m.N; ++i) {
    ax[i] = ay[i] = az[i] = 0.0L;
    for (int j = 1; j <= m.N; ++j) {
      if (j == i || !m.Present[j]) continue;
      const real dx = m.X[i] - m.X[j], dy = m.Y[i] - m.Y[j], dz = m.Z[i] - m.Z[j];
      const real s = 1.0L / (dx * dx + dy * dy + dz * dz), s3 = s * s * s;
      const real f = 24.0L * s * s3 * (2.0L * s3 - 1.0L);
      ax[i] += f * dx, ay[i] += f * dy, az[i] += f * dz;
    }
  }
}

real LennardJonesEnergy(const Model& m) {
  real energy = 0.0L;
  for (int i = 1; i <= m.N; ++i)
    for (int j = i + 1; j <= m.N; ++j) {
      if (!m.Present[i] || !m.Present[j]) continue;
      const real dx = m.X[i] - m.X[j], dy = m.Y[i] - m.Y[j], dz = m.Z[i] - m.Z[j];
      const real s = 1.0L / (dx * dx + dy * dy + dz * dz), s3 = s * s * s;
      energy += 4.0L * s3 * (s3 - 1.0L);
    }
  return energy;
}

// The points in slots 1, 2, ... of an empty scene with the given time step.
Model SceneOf(const Points& points, real dt) {
  Model m = EmptyScene();
  m.dt = dt;
  for (std::size_t k = 0; k < points.size(); ++k)
    Place(m, static_cast<int>(k) + 1, points[k].X, points[k].Y, points[k].Z);
  return m;
}

struct MinimumCase {
  const char* name;
  Points points;
  double energy;  // the database's global minimum, in epsilon
  const char* group;
};

class LennardJonesMinima : public ::testing::TestWithParam<MinimumCase> {};

TEST_P(LennardJonesMinima, ReachesTheDatabaseMinimumAndItsGroup) {
  Model m = SceneOf(Shaken(GetParam().points, 0.03L, 5), 0.005L);
  const RelaxResult result = Relax(m, LennardJones, 1e-7L, 100000);
  EXPECT_TRUE(result.converged);
  EXPECT_NEAR(static_cast<double>(LennardJonesEnergy(m)), GetParam().energy, 1e-6);
  EXPECT_EQ(FindPointGroup(PresentPoints(m), 1e-3L).symbol, GetParam().group);
  for (int i = 1; i <= m.N; ++i) EXPECT_EQ(m.V[i] + m.U[i] + m.W[i] + m.NewV[i], 0.0L);
}

INSTANTIATE_TEST_SUITE_P(
    CambridgeClusterDatabase, LennardJonesMinima,
    ::testing::Values(MinimumCase{"LJ13", Scaled(0.55L, CentredIcosahedron()), -44.326801, "Ih"},
                      MinimumCase{"LJ19", DoubleIcosahedron(1.05L), -72.659782, "D5h"},
                      MinimumCase{"LJ38", Scaled(1.1L / std::sqrt(2.0L), TruncatedOctahedron38()),
                                  -173.928427, "Oh"},
                      MinimumCase{"LJ55", Scaled(0.55L, Mackay55()), -279.248470, "Ih"}),
    [](const auto& info) { return std::string(info.param.name); });

// Under a constant acceleration the motion never turns uphill: the time step stays dt for the
// first N_min + 1 steps, then grows by f_inc a step up to 10 dt and no further, which shows in
// the second differences of the positions (v dt_k grows by a dt_k^2 once dt_k is constant).
TEST(Relax, TimeStepGrowsToTenDtAndNoFurther) {
  Model m = SceneOf({{0, 0, 0}}, 0.01L);
  const AccelerationField constant = [](const Model&, SlotArray<real>& ax, SlotArray<real>& ay,
                                        SlotArray<real>& az) { ax.fill(1.0L), ay.fill(0.0L), az.fill(0.0L); };
  std::vector<real> x{0.0L};
  Relax(m, constant, 0.5L, 200, [&](int, real) { x.push_back(m.X[1]); });
  const auto second = [&](std::size_t k) { return x[k + 1] - 2 * x[k] + x[k - 1]; };
  EXPECT_NEAR(static_cast<double>(second(3)), 1e-4, 1e-15);    // dt^2
  EXPECT_NEAR(static_cast<double>(second(199)), 1e-2, 1e-12);  // (10 dt)^2
  EXPECT_GT(second(9), 2 * second(3));                         // growing
}

// The largest acceleration of a present slot by the literal law, axis by axis.
real LiteralLargest(const Model& m, const LawSettings& law) {
  real largest = 0.0L;
  for (int i = 1; i <= m.N; ++i)
    if (m.Present[i]) {
      const real x = ForceX(m, law, i), y = ForceY(m, law, i), z = ForceZ(m, law, i);
      largest = std::max(largest, std::sqrt(x * x + y * y + z * z));
    }
  return largest;
}

// Four present slots about a shaken tetrahedron in the benchmark's law (the easy square's
// parameters), at rest. (The benchmark's own cloud of 100 slots has no state of rest: cooled or
// relaxed, pairs of slots close in on each other until one coincides.)
constexpr real ProgramTolerance = 1e-4L;

TEST(RelaxOnTheProgramsLaw, RestsByTheLiteralLawInFewerStepsThanCooling) {
  const Model start = TetrahedronScene();
  Model m = start;
  FastLaw fast(2);
  const RelaxResult result = Relax(m, LawField(fast, {}), ProgramTolerance, 5000);
  ASSERT_TRUE(result.converged);
  EXPECT_LE(LiteralLargest(m, {}), ProgramTolerance);
  EXPECT_EQ(FindPointGroup(PresentPoints(m), 1e-3L).symbol, "Td");
  // Cooling the same scene as many steps does not reach the tolerance.
  Model cooled = start;
  Stepper stepper(Evaluation::Fast, 1);
  StepSettings cool;
  cool.Cool = true;
  real least = INFINITY;
  for (int counter = 0; counter < result.steps;) {
    stepper.Step(cooled, cool, counter);
    least = std::min(least, LiteralLargest(cooled, {}));
  }
  std::printf("relax: %d steps to %Lg; cool: least largest acceleration %Lg in as many steps\n", result.steps,
              ProgramTolerance, least);
  EXPECT_GT(least, ProgramTolerance);
}

TEST(RelaxOnTheProgramsLaw, SameBitsOnAnyNumberOfThreads) {
  const Model start = bench::HundredSlotScene(true);
  Model one = start, three = start;
  FastLaw fastOne(1), fastThree(3);
  const LawSettings law{true, true};
  const RelaxResult a = Relax(one, LawField(fastOne, law), 0, 40);
  const RelaxResult b = Relax(three, LawField(fastThree, law), 0, 40);
  EXPECT_EQ(a.steps, 40);
  EXPECT_FALSE(a.converged);
  EXPECT_TRUE(SameBits(a.largestAcceleration, b.largestAcceleration));
  EXPECT_EQ(FirstDifference(one, three), "");
}

TEST(RelaxOnTheProgramsLaw, AFaultStopsWithTheStepAndLeavesTheScene) {
  Model m = EmptyScene();
  Place(m, 4, 1, 2, 3);
  Place(m, 9, 1, 2, 3);  // two present slots at one place: division by zero
  const Model before = m;
  FastLaw fast(1);
  try {
    Relax(m, LawField(fast, {}), 1e-6L, 100);
    FAIL() << "no fault";
  } catch (const StepFault& fault) {
    EXPECT_EQ(fault.Step(), 1);
    EXPECT_STREQ(fault.what(), "Floating point division by zero");
  }
  EXPECT_EQ(FirstDifference(m, before), "");
}

TEST(RelaxOnTheProgramsLaw, OnlyPresentSlotsMove) {
  Model m = bench::HundredSlotScene(false);
  for (int i = 1; i <= m.N; i += 3) m.Present[i] = false;
  const Model before = m;
  FastLaw fast(1);
  Relax(m, LawField(fast, {}), 0, 20);
  for (int i = 1; i <= m.N; ++i) EXPECT_EQ(SameBits(m.X[i], before.X[i]), !m.Present[i]) << i;
}

}  // namespace
}  // namespace velmora
