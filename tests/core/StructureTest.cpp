// The structure analysis against shapes whose answers are known: point groups of ideal shapes
// (and the same shapes shaken below and above the tolerance), the common neighbour signatures
// of ideal close-packed and icosahedral environments, gyration tensors, histograms, clusters.

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <map>

#include "model/ProgramError.h"
#include "structure/Neighbours.h"
#include "structure/PairHistogram.h"
#include "structure/StructureAnalysis.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/Shapes.h"
#include "text/StructureText.h"

namespace velmora {
namespace {

using namespace testing;

// Turns every point by `angle` about the axis (1, 2, 3) and moves it by (0.3, -0.7, 1.1), so
// that no answer can lean on the coordinate axes or the origin.
Points Placed(const Points& points, real angle = 0.7L) {
  const real n = std::sqrt(14.0L);
  const Point3 a{1 / n, 2 / n, 3 / n};
  const real c = std::cos(angle), s = std::sin(angle);
  Points placed;
  for (const Point3& p : points)
    placed.push_back(c * p + s * Cross(a, p) + ((1 - c) * Dot(a, p)) * a + Point3{0.3L, -0.7L, 1.1L});
  return placed;
}

struct GroupCase {
  const char* name;
  Points (*shape)();
  const char* symbol;
  const char* axes;
  int planes;
  bool centre;
};

Points RandomCloud() { return Shaken(Points(20), 1.0L, 17); }
Points TruncatedOctahedronPoints() { return TruncatedOctahedron38(); }

const GroupCase GroupCases[] = {
    {"tetrahedron", Tetrahedron, "Td", "C3 4, C2 3", 6, false},
    {"octahedron", Octahedron, "Oh", "C4 3, C3 4, C2 6", 9, true},
    {"cube", Cube, "Oh", "C4 3, C3 4, C2 6", 9, true},
    {"icosahedron", Icosahedron, "Ih", "C5 6, C3 10, C2 15", 15, true},
    {"dodecahedron", Dodecahedron, "Ih", "C5 6, C3 10, C2 15", 15, true},
    {"pentagonal_bipyramid", PentagonalBipyramid, "D5h", "C5 1, C2 5", 6, false},
    {"square_antiprism", SquareAntiprism, "D4d", "C4 1, C2 4", 4, false},
    {"mackay_55", Mackay55, "Ih", "C5 6, C3 10, C2 15", 15, true},
    {"truncated_octahedron_38", TruncatedOctahedronPoints, "Oh", "C4 3, C3 4, C2 6", 9, true},
    {"random_cloud", RandomCloud, "C1", "none", 0, false},
};

class PointGroups : public ::testing::TestWithParam<GroupCase> {};

constexpr real Tolerance = 0.01L;

TEST_P(PointGroups, IdealShapeWithItsElements) {
  const PointGroup group = FindPointGroup(Placed(GetParam().shape()), Tolerance);
  EXPECT_EQ(group.symbol, GetParam().symbol);
  EXPECT_EQ(AxesText(group), GetParam().axes);
  EXPECT_EQ(static_cast<int>(group.planes.size()), GetParam().planes);
  EXPECT_EQ(group.centre, GetParam().centre);
}

TEST_P(PointGroups, ShakenBelowTheToleranceKeepsItsGroup) {
  for (unsigned seed = 1; seed <= 3; ++seed)
    EXPECT_EQ(FindPointGroup(Shaken(Placed(GetParam().shape()), Tolerance / 10, seed), Tolerance).symbol,
              GetParam().symbol);
}

TEST_P(PointGroups, ShakenAboveTheToleranceLosesIt) {
  for (unsigned seed = 1; seed <= 3; ++seed)
    EXPECT_EQ(FindPointGroup(Shaken(Placed(GetParam().shape()), 10 * Tolerance, seed), Tolerance).symbol,
              "C1");
}

INSTANTIATE_TEST_SUITE_P(Shapes, PointGroups, ::testing::ValuesIn(GroupCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The orbit of p under the improper fourfold turn (x, y, z) -> (-y, x, -z).
Points S4Orbit(Point3 p) {
  Points orbit;
  for (int k = 0; k < 4; ++k, p = {-p.Y, p.X, -p.Z}) orbit.push_back(p);
  return orbit;
}

TEST(PointGroups, LowGroupsAndDegenerateClouds) {
  const struct {
    Points points;
    const char* symbol;
  } cases[] = {
      {{{1, 2, 3}}, "Kh"},
      {{{0, 0, 0}, {1, 0, 0}}, "D*h"},
      {{{0, 0, 0}, {1, 0, 0}, {3, 0, 0}}, "C*v"},
      {{{0, 0, 0}, {1, 0, 0}, {0, 1.3L, 0}}, "Cs"},              // a scalene triangle
      {{{0, 0, 0}, {2, 0, 0}, {1, 1.5L, 0}}, "C2v"},             // isosceles
      {{{0, 0, 0}, {2, 0, 0}, {1, std::sqrt(3.0L), 0}}, "D3h"},  // equilateral
      {{{1, 0, 0}, {-1, 0, 0}, {0, 2, 0.5L}, {0, -2, -0.5L}, {0.3L, 0.2L, 3}, {-0.3L, -0.2L, -3}}, "Ci"},
      {Join(Ring(3, 1, 0.5L, 0), Ring(3, 1, -0.5L, 0.05L)), "D3"},  // a twisted prism
      {Join(Ring(3, 1, 0.5L, 0), Ring(3, 1, -0.5L, 0.5L)), "D3d"},  // staggered
      {Join(Ring(4, 1, 0.3L, 0), Ring(4, 2, 0.1L, 0.1L)), "C4"},
      {Join(Ring(4, 1, 0.3L, 0), Ring(4, 2, 0.1L, 0)), "C4v"},
      {Join(Ring(4, 1, 0, 0.1L), Ring(4, 2, 0, 0)), "C4h"},
      {Join(S4Orbit({1, 0.3L, 0.5L}), S4Orbit({0.5L, 1.2L, -0.2L})), "S4"},
  };
  EXPECT_EQ(FindPointGroup({}, Tolerance).symbol, "");
  for (const auto& c : cases)
    EXPECT_EQ(FindPointGroup(Placed(c.points), Tolerance).symbol, c.symbol) << c.symbol;
}

// The 13 points of a centre and its twelve nearest neighbours in the ideal lattices.
Points FccEnvironment() { return Join({{0, 0, 0}}, CyclicSigned(1, 1, 0)); }
Points HcpEnvironment() {
  const real h = std::sqrt(2.0L / 3.0L) * std::sqrt(2.0L), r = std::sqrt(2.0L) / std::sqrt(3.0L);
  return Join(Join({{0, 0, 0}}, Ring(6, std::sqrt(2.0L), 0, 0)),
              Join(Ring(3, r, h, 1.0L / 12), Ring(3, r, -h, 1.0L / 12)));
}

struct EnvironmentCase {
  const char* name;
  Points (*shape)();
  NeighbourClass centre;
  std::map<std::string, int> centreSignatures;
};

const EnvironmentCase EnvironmentCases[] = {
    {"fcc", FccEnvironment, NeighbourClass::Fcc, {{"421", 12}}},
    {"hcp", HcpEnvironment, NeighbourClass::Hcp, {{"421", 6}, {"422", 6}}},
    {"icosahedral", CentredIcosahedron, NeighbourClass::Icosahedral, {{"555", 12}}},
};

class Environments : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(Environments, CentreSignaturesAndClass) {
  const Points points = Placed(GetParam().shape());
  const Structure s = AnalyseStructure(points, {});
  EXPECT_EQ(s.coordination[0], 12);
  EXPECT_EQ(s.classes[0], GetParam().centre);
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_EQ(s.classes[i], NeighbourClass::Other);
  const Neighbours neighbours(points, s.cutoff);
  std::map<std::string, int> signatures;
  for (const int j : neighbours.Of(0)) ++signatures[SignatureText(SignatureOf(neighbours, 0, j))];
  EXPECT_EQ(signatures, GetParam().centreSignatures);
}

INSTANTIATE_TEST_SUITE_P(Ideal, Environments, ::testing::ValuesIn(EnvironmentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Structure, DefaultCutoffFallsBetweenTheFirstTwoShells) {
  const struct {
    Points points;
    real first, second;
  } cases[] = {
      {FccEnvironment(), std::sqrt(2.0L), 2},
      {TruncatedOctahedron38(), std::sqrt(2.0L), 2},
      {Mackay55(), 2, 2.76L},
      {Join(Tetrahedron(), Shifted(Tetrahedron(), {20, 0, 0})), 2 * std::sqrt(2.0L), 15},
  };
  for (const auto& c : cases) {
    const real cutoff = AnalyseStructure(Placed(c.points), {}).cutoff;
    EXPECT_GT(cutoff, c.first * 1.01L);
    EXPECT_LT(cutoff, c.second * 0.99L);
  }
}

TEST(Structure, ClustersCoordinationAndTheirGroups) {
  // Edges of 2 sqrt 2 in both; the octahedron's opposite vertices 4 apart.
  const Points apart = Join(Tetrahedron(), Shifted(Scaled(2, Octahedron()), {10, 0, 0}));
  const Structure s = AnalyseStructure(Placed(apart), {0.0L, 2.9L, 0.01L});
  EXPECT_EQ(s.cluster, (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
  ASSERT_EQ(s.clusters.size(), 2u);
  EXPECT_EQ(s.largest, 6);
  EXPECT_EQ(s.clusters[0].group.symbol, "Td");
  EXPECT_EQ(s.clusters[1].group.symbol, "Oh");
  EXPECT_EQ(s.coordination, (std::vector<int>{3, 3, 3, 3, 4, 4, 4, 4, 4, 4}));
  EXPECT_EQ(s.coordinationCounts, (std::vector<int>{0, 0, 0, 4, 6}));
  EXPECT_EQ(s.meanCoordination, 3.6L);
  EXPECT_NEAR(static_cast<double>(s.clusters[1].shape.gyration), 2.0, 1e-15);
  EXPECT_EQ(Neighbours({{0, 0, 0}, {0, 0, 2}}, 2).Coordination(0), 1);  // at the cutoff: neighbours
}

TEST(Structure, GyrationTensorOfKnownShapes) {
  const struct {
    Points points;
    real gyration, l1, l2, l3, asphericity, acylindricity;
  } cases[] = {
      {{{-1, 0, 0}, {1, 0, 0}}, 1, 0, 0, 1, 1, 0},
      {Signed(2, 1, 0), std::sqrt(5.0L), 0, 1, 4, 3.5L, 1},
      {Octahedron(), 1, 1 / 3.0L, 1 / 3.0L, 1 / 3.0L, 0, 0},
      {Signed(3, 2, 1), std::sqrt(14.0L), 1, 4, 9, 6.5L, 3},
  };
  for (const auto& c : cases) {
    const Shape shape = ShapeOf(Placed(c.points, 1.3L));
    const real expected[] = {c.gyration, c.l1, c.l2, c.l3, c.asphericity, c.acylindricity};
    const real got[] = {shape.gyration,       shape.eigenvalues[0], shape.eigenvalues[1],
                        shape.eigenvalues[2], shape.asphericity,    shape.acylindricity};
    for (int k = 0; k < 6; ++k)
      EXPECT_NEAR(static_cast<double>(got[k]), static_cast<double>(expected[k]), 1e-15) << k;
    EXPECT_NEAR(static_cast<double>(shape.centre.X), 0.3, 1e-15);
  }
}

TEST(Structure, HistogramHoldsEveryPairOnce) {
  // A unit square: four sides of 1, two diagonals of sqrt 2.
  const PairHistogram h({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, 0.25L);
  EXPECT_EQ(h.Counts(), (std::vector<long long>{0, 0, 0, 0, 4, 2}));
  EXPECT_EQ(h.Shares()[4], 4.0L / 6.0L);
  EXPECT_EQ(h.FirstMinimumCutoff(), 1.5L);  // never rises again: every pair touches
  // Two pairs 1 long, 10 apart: the valley between the peaks at 1 and 9 .. 11 is bins 3 .. 7.
  const PairHistogram pairs({{0, 0, 0}, {1, 0, 0}, {10, 0, 0}, {11, 0, 0}}, 1);
  EXPECT_EQ(pairs.FirstMinimumCutoff(), 5.5L);
  EXPECT_EQ(pairs.Shares()[10], 2.0L / 6.0L);
  EXPECT_EQ(PairHistogram({{0, 0, 0}, {1, 0, 0}}, 0).BinWidth(), 0.1L);
  EXPECT_TRUE(PairHistogram({{0, 0, 0}}, 0).Shares().empty());
  EXPECT_THROW(PairHistogram({{0, 0, 0}, {1, 0, 0}}, 1e-6L), ProgramError);
}

TEST(Structure, RefusesPositionsThatAreNoNumbersAndLeavesTheFlags) {
  std::feclearexcept(FE_ALL_EXCEPT);
  AnalyseStructure(Placed(Cube()), {});
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0);
  EXPECT_THROW(AnalyseStructure({{0, 0, 0}, {NAN, 0, 0}}, {}), ProgramError);
  EXPECT_THROW(AnalyseStructure({{0, 0, 0}, {INFINITY, 0, 0}}, {}), ProgramError);
  EXPECT_THROW(AnalysePoints({{0, 0, 0}, {NAN, 0, 0}}, {}), ProgramError);
}

// The picture's colours and the readout read the same neighbourhoods as the whole analysis.
TEST(Structure, NeighbourhoodsAloneAgreeWithTheWholeAnalysis) {
  const struct {
    Points points;
    StructureSettings settings;
  } cases[] = {
      {Join(Tetrahedron(), Shifted(Scaled(2, Octahedron()), {10, 0, 0})), {0.0L, 2.9L, 0.01L}},
      {Mackay55(), {}},
      {FccEnvironment(), {0.05L, 0.0L, 0.0L}},
  };
  for (const auto& c : cases) {
    const Structure whole = AnalyseStructure(Placed(c.points), c.settings);
    const PointStructure alone = AnalysePoints(Placed(c.points), c.settings);
    EXPECT_EQ(alone.cutoff, whole.cutoff);
    EXPECT_EQ(alone.coordination, whole.coordination);
    EXPECT_EQ(alone.cluster, whole.cluster);
    EXPECT_EQ(alone.clusters, static_cast<int>(whole.clusters.size()));
    EXPECT_EQ(alone.classes, whole.classes);
  }
}

TEST(Structure, PresentSlotsOnly) {
  Model m = EmptyScene();
  Place(m, 3, 1, 2, 3);
  Place(m, 40, 4, 5, 6);
  std::vector<int> slots;
  const Points points = PresentPoints(m, &slots);
  EXPECT_EQ(slots, (std::vector<int>{3, 40}));
  EXPECT_EQ(points[1].Z, 6.0L);
}

}  // namespace
}  // namespace velmora
