#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "documents/DocumentFile.h"
#include "documents/SavedComparison.h"
#include "measure/Geometry3.h"
#include "measure/ParticleValues.h"
#include "measure/Picking.h"
#include "measure/Readout.h"
#include "measure/Selection.h"
#include "measure/StructureColours.h"
#include "sim/Observables.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/TemporaryFolder.h"
#include "text/NumberText.h"
#include "view/ColourMap.h"
#include "view/SceneProjection.h"
#include "view/TrailRecord.h"

namespace velmora {
namespace {

using testing::Place;

struct AngleCase {
  const char* name;
  std::vector<Point3> points;  // three: the angle at the middle one; four: the dihedral
  real degrees;
};

class Angles : public ::testing::TestWithParam<AngleCase> {};

TEST_P(Angles, MatchTheHandWorkedValue) {
  const AngleCase& c = GetParam();
  const auto& p = c.points;
  const real got = p.size() == 3 ? AngleDegrees(p[0], p[1], p[2]) : DihedralDegrees(p[0], p[1], p[2], p[3]);
  EXPECT_NEAR(static_cast<double>(got), static_cast<double>(c.degrees), 1e-12) << c.name;
}

// Seen along 2->3 (the z axis), the near bond 2->1 points along x; the far bond 3->4 along +y is
// a clockwise quarter turn away, along -y an anticlockwise one.
INSTANTIATE_TEST_SUITE_P(
    HandWorked, Angles,
    ::testing::Values(AngleCase{"right angle", {{1, 0, 0}, {0, 0, 0}, {0, 3, 0}}, 90.0L},
                      AngleCase{"straight line", {{-1, 0, 0}, {0, 0, 0}, {2, 0, 0}}, 180.0L},
                      AngleCase{"folded back", {{2, 0, 0}, {0, 0, 0}, {1, 0, 0}}, 0.0L},
                      AngleCase{
                          "equilateral", {{0, 0, 0}, {1, 0, 0}, {0.5L, std::sqrt(3.0L) / 2.0L, 0}}, 60.0L},
                      AngleCase{"dihedral +90", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 1}}, 90.0L},
                      AngleCase{"dihedral -90", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, -1, 1}}, -90.0L},
                      AngleCase{"dihedral cis", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {1, 0, 1}}, 0.0L},
                      AngleCase{"dihedral trans", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {-2, 0, 1}}, 180.0L}));

// The hardest angles: a bond 1E-10 off a line, where an arc cosine would give 0 or 180 exactly. The
// values are atan(1E-10) in degrees (the extended 1E-10), worked with 200-bit arithmetic; the
// program's must agree to two units in the last place.
struct ExactAngleCase {
  const char* name;
  std::vector<Point3> points;
  real degrees;
};

constexpr real Tilt = 1e-10L;
const ExactAngleCase ExactAngles[] = {
    {"angle near 0", {{1, 0, 0}, {0, 0, 0}, {1, Tilt, 0}}, 5.729577951308232087766015e-9L},
    {"angle near 180", {{1, 0, 0}, {0, 0, 0}, {-1, Tilt, 0}}, 179.9999999942704220486918L},
    {"angle of 1E-300", {{1, 0, 0}, {0, 0, 0}, {1, 1e-300L, 0}}, 5.729577951308232087480999e-299L},
    {"dihedral near 0", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {1, Tilt, 1}}, 5.729577951308232087766015e-9L},
    {"dihedral near -0", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {1, -Tilt, 1}}, -5.729577951308232087766015e-9L},
    {"dihedral near 180", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {-1, Tilt, 1}}, 179.9999999942704220486918L},
    {"dihedral near -180", {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {-1, -Tilt, 1}}, -179.9999999942704220486918L},
};

TEST(AnglesToTheLastDigit, NearZeroAnd180) {
  for (const ExactAngleCase& c : ExactAngles) {
    const auto& p = c.points;
    const real got = p.size() == 3 ? AngleDegrees(p[0], p[1], p[2]) : DihedralDegrees(p[0], p[1], p[2], p[3]);
    const real ulp =
        std::nextafter(std::fabs(c.degrees), std::numeric_limits<real>::infinity()) - std::fabs(c.degrees);
    EXPECT_LE(std::fabs(got - c.degrees), 2.0L * ulp) << c.name << ": " << FormatReal(got, '.');
  }
}

// Two slots where the view puts them: with all angles 0 the depth is the model's y.
Model TwoAtOnePixel() {
  Model m = testing::EmptyScene();
  Place(m, 3, 0.5L, -1.0L, 0.0L);  // farther
  Place(m, 9, 0.5L, 2.0L, 0.0L);   // nearer, at the same pixel
  Place(m, 5, -0.5L, 9.0L, 0.0L);  // nearest of all, 60 pixels away
  return m;
}

struct PickCase {
  const char* name;
  int dx, dy;    // the click relative to slot 3's dot's top-left pixel
  real radius;   // drawn radius
  int expected;  // slot, 0 for none
};

class Picking : public ::testing::TestWithParam<PickCase> {};

TEST_P(Picking, FindsTheNearestDrawnParticle) {
  const PickCase& c = GetParam();
  Model m = TwoAtOnePixel();
  ViewState view;
  SetCentre(view, 800, 600);
  ProjectParticles(view, m);
  ASSERT_EQ(view.ScreenX[3], view.ScreenX[9]);
  ASSERT_EQ(view.ScreenY[3], view.ScreenY[9]);
  EXPECT_EQ(PickParticle(m, view, view.ScreenX[3] + c.dx, view.ScreenY[3] + c.dy, c.radius), c.expected)
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Picking,
                         ::testing::Values(PickCase{"on the dot: the nearer of two", 0, 0, DotRadius, 9},
                                           PickCase{"6 pixels right of the dot", 7, 0, DotRadius, 9},
                                           PickCase{"7 pixels right of the dot", 8, 0, DotRadius, 0},
                                           PickCase{"6 pixels left of the dot", -6, 0, DotRadius, 9},
                                           PickCase{"7 pixels left of the dot", -7, 0, DotRadius, 0},
                                           PickCase{"6 pixels diagonally: 7.8 from the middle", 6, 6,
                                                    DotRadius, 0},
                                           PickCase{"on a sphere's rim", 31, 0, 25.0L, 9},
                                           PickCase{"beyond a sphere's reach", 33, 0, 25.0L, 0}));

TEST(Picking, TurningTheViewChangesWhichIsNearer) {
  Model m = TwoAtOnePixel();
  ViewState view;
  SetCentre(view, 800, 600);
  view.ViewPhi = std::acos(-1.0L);  // half a turn about z: depth y becomes -y
  ProjectParticles(view, m);
  EXPECT_EQ(PickParticle(m, view, view.ScreenX[3], view.ScreenY[3]), 3);
  m.Present[3] = false;
  EXPECT_EQ(PickParticle(m, view, view.ScreenX[3], view.ScreenY[3]), 9);
}

TEST(Selection, KeepsUpToFourInTheOrderPicked) {
  Selection s;
  s.Pick(5);
  for (int slot : {7, 0, 9, 11, 13}) s.Toggle(slot);  // the fifth does not fit, a miss changes nothing
  EXPECT_EQ(s.Slots(), (std::vector<int>{5, 7, 9, 11}));
  s.Toggle(7);
  s.Toggle(13);
  EXPECT_EQ(s.Slots(), (std::vector<int>{5, 9, 11, 13}));
  Model m = testing::EmptyScene();
  for (int slot : {5, 11}) m.Present[slot] = true;
  s.KeepPresent(m);
  EXPECT_EQ(s.Slots(), (std::vector<int>{5, 11}));
  s.Pick(0);
  EXPECT_TRUE(s.Empty());
}

TEST(ParticlePotentials, AddUpToThePotential) {
  std::mt19937_64 rng(28);
  for (bool equalGroups : {true, false}) {
    for (bool taoscope : {false, true}) {
      const Model m = testing::RandomScene(rng, 3.0L, 0.7, equalGroups);
      const LawSettings law{false, taoscope};
      const SlotArray<real> share = ParticlePotentials(m, law);
      real sum = 0.0L, absolute = 0.0L;
      for (int i = 1; i <= m.N; ++i) {
        if (!m.Present[i]) {
          EXPECT_EQ(share[i], 0.0L);
        }
        sum += share[i];
        absolute += std::fabs(share[i]);
      }
      EXPECT_NE(absolute, 0.0L);
      EXPECT_NEAR(static_cast<double>(sum), static_cast<double>(Measure(m, law)[Quantity::Potential]),
                  static_cast<double>(absolute) * 1e-16);
    }
  }
}

TEST(Readout, TextsOfOneTwoThreeAndFourParticles) {
  Model m = testing::EmptyScene();
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  Place(m, 4, 3.0L, 0.0L, 0.0L);
  Place(m, 60, 0.0L, 4.0L, 0.0L);
  Place(m, 7, 0.0L, 4.0L, 1.0L);
  m.V[2] = 3.0L;
  m.W[2] = -4.0L;
  const LawSettings law;
  const SlotArray<real> share = ParticlePotentials(m, law);
  const std::string p = FormatExact(share[2]);
  EXPECT_EQ(
      ReadoutText(ReadSelection(m, law, {2}), ','),
      "Slot 2, group 1: x = 0, y = 0, z = 0, v = 3, u = 0, w = -4, speed = 5, kinetic = 12,5, potential = " +
          FormatReal(share[2], ','));
  EXPECT_EQ(CopyText(ReadSelection(m, law, {2})),
            "slot\tgroup\tx\ty\tz\tv\tu\tw\tspeed\tkinetic\tpotential\n"
            "2\t1\t" +
                FormatExact(0.0L) + "\t" + FormatExact(0.0L) + "\t" + FormatExact(0.0L) + "\t" +
                FormatExact(3.0L) + "\t" + FormatExact(0.0L) + "\t" + FormatExact(-4.0L) + "\t" +
                FormatExact(5.0L) + "\t" + FormatExact(12.5L) + "\t" + p + "\n");
  const real p460 = PairEnergy(m, law, 4, 60);
  EXPECT_EQ(ReadoutText(ReadSelection(m, law, {4, 60}), '.'),
            "Slots 4, 60: distance = 5, P(4,60) = " + FormatReal(p460, '.'));
  const std::string pair = CopyText(ReadSelection(m, law, {4, 60}));
  EXPECT_TRUE(pair.ends_with("distance\t" + FormatExact(5.0L) + "\nP(4,60)\t" + FormatExact(p460) + "\n"))
      << pair;
  EXPECT_TRUE(pair.find("\n60\t2\t") != std::string::npos) << pair;
  // The help's example: slots 3, 2 and 9 at (3, 0, 0), (0, 0, 0) and (0, 4, 0).
  Place(m, 3, 3.0L, 0.0L, 0.0L);
  Place(m, 9, 0.0L, 4.0L, 0.0L);
  EXPECT_EQ(ReadoutText(ReadSelection(m, law, {3, 2, 9}), '.'),
            "Slots 3, 2, 9: angle at 3 = 53.130102354156\u00b0, angle at 2 = 90\u00b0, angle at 9 = "
            "36.869897645844\u00b0");
  // 4-2-60-7: seen along 2->60 (+y), 2->4 along +x and 60->7 along +z, a quarter turn anticlockwise.
  EXPECT_EQ(ReadoutText(ReadSelection(m, law, {4, 2, 60, 7}), '.'),
            "Slots 4, 2, 60, 7: dihedral = -90\u00b0");
}

// A tetrahedron of edge 1 (slots 1-4), a pair 1 apart (5, 6) and lone slots 7 .. 17 far out.
Model ClustersScene() {
  Model m = testing::EmptyScene();
  const real corner[4][3] = {{0, 0, 0},
                             {1, 0, 0},
                             {0.5L, 0.8660254037844386468L, 0},
                             {0.5L, 0.2886751345948128823L, 0.8164965809277260327L}};
  for (int i = 1; i <= 4; ++i) Place(m, i, corner[i - 1][0], corner[i - 1][1], corner[i - 1][2]);
  Place(m, 5, 0, 0, 20);
  Place(m, 6, 1, 0, 20);
  for (int i = 7; i <= 17; ++i) Place(m, i, 20.0L * i, 0, 0);
  return m;
}

TEST(Readout, OneParticleAddsItsPlaceInTheStructure) {
  Model m = ClustersScene();
  const StructureSettings defaults;
  const struct {
    std::vector<int> picked;
    const char* ending;  // "" for no place
  } rows[] = {{{1}, ", coordination = 3, cluster = 0, class = other"},
              {{6}, ", coordination = 1, cluster = 1, class = other"},
              {{9}, ", coordination = 0, cluster = 4, class = other"},
              {{1, 6}, ""}};
  for (const auto& row : rows) {
    const std::string text = ReadoutText(ReadSelection(m, {}, row.picked, &defaults), '.');
    if (*row.ending)
      EXPECT_TRUE(text.ends_with(row.ending)) << text;
    else
      EXPECT_EQ(text.find("coordination"), std::string::npos) << text;
  }
  EXPECT_EQ(ReadSelection(m, {}, {1}).Place, std::nullopt);  // no structure asked for
  m.X[8] = std::numeric_limits<real>::quiet_NaN();
  EXPECT_EQ(ReadSelection(m, {}, {1}, &defaults).Place, std::nullopt);
}

TEST(StructureColours, LegendsNameEveryColourShown) {
  Model m = ClustersScene();
  const StructureColouring clusters = StructureColours(m, ColourBy::Cluster, {});
  ASSERT_EQ(clusters.Legend.size(), 10u);  // 13 clusters: 0 .. 8 and the grey 9-12
  EXPECT_EQ(clusters.Legend.back().Name, "9-12");
  EXPECT_EQ(clusters.Colours[1], clusters.Legend[0].Shade);
  EXPECT_EQ(clusters.Colours[6], clusters.Legend[1].Shade);
  EXPECT_EQ(clusters.Colours[17], clusters.Legend.back().Shade);
  EXPECT_NE(clusters.Legend[0].Shade, clusters.Legend[1].Shade);
  const StructureColouring coordination = StructureColours(m, ColourBy::Coordination, {});
  ASSERT_EQ(coordination.Legend.size(), 3u);
  EXPECT_EQ(coordination.Legend[0], (LegendEntry{"0", Viridis(0.0L)}));
  EXPECT_EQ(coordination.Legend[2], (LegendEntry{"3", Viridis(0.25L)}));
  EXPECT_EQ(coordination.Colours[5], Viridis(1.0L / 12.0L));
  const StructureColouring classes = StructureColours(m, ColourBy::NeighbourClass, {});
  ASSERT_EQ(classes.Legend.size(), 4u);
  EXPECT_EQ(classes.Legend[0].Name, "icosahedral");
  EXPECT_EQ(classes.Colours[3], classes.Legend[3].Shade);  // other
  m.Y[2] = std::numeric_limits<real>::infinity();
  const StructureColouring faulted = StructureColours(m, ColourBy::Cluster, {});
  ASSERT_EQ(faulted.Legend.size(), 1u);
  EXPECT_EQ(faulted.Legend[0].Name, "A position is not a finite number");
  EXPECT_EQ(faulted.Colours[1], faulted.Legend[0].Shade);
}

// The map's ten colours at their steps k/9, the ends held beyond them (NaN as 0), and a colour
// halfway between two steps rounded to the nearest.
TEST(ColourMap, ViridisAtEveryStepAndBeyondItsEnds) {
  const Colour steps[] = {{68, 1, 84},    {72, 40, 120},  {62, 73, 137},  {49, 104, 142}, {38, 130, 142},
                          {31, 158, 137}, {53, 183, 121}, {110, 206, 88}, {181, 222, 43}, {253, 231, 37}};
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(Viridis(k / 9.0L), steps[k]) << "step " << k;
  const real inf = std::numeric_limits<real>::infinity();
  const struct {
    real t;
    Colour colour;
  } rows[] = {{-0.0L, steps[0]},
              {-inf, steps[0]},
              {std::numeric_limits<real>::quiet_NaN(), steps[0]},
              {-1e-30L, steps[0]},
              {std::nextafter(1.0L, 2.0L), steps[9]},
              {inf, steps[9]},
              {1.0L / 18.0L, {70, 21, 102}},     // halfway from step 0 to step 1: 20.5 rounds to 21
              {17.0L / 18.0L, {217, 227, 40}}};  // halfway from step 8 to step 9
  for (const auto& row : rows) EXPECT_EQ(Viridis(row.t), row.colour) << FormatReal(row.t, '.');
}

TEST(ColourMap, ViridisEndsAndRangeFractions) {
  EXPECT_EQ(Viridis(0.0L), (Colour{68, 1, 84}));
  EXPECT_EQ(Viridis(1.0L), (Colour{253, 231, 37}));
  EXPECT_EQ(Viridis(-3.0L), Viridis(0.0L));
  EXPECT_EQ(Viridis(7.0L), Viridis(1.0L));
  EXPECT_EQ(Viridis(0.5L), (Colour{35, 144, 140}));  // halfway between the fifth and sixth step
  EXPECT_EQ(RangeFraction(3.0L, 2.0L, 6.0L), 0.25L);
  EXPECT_EQ(RangeFraction(3.0L, 3.0L, 3.0L), 0.5L);
}

TEST(ParticleValues, SpeedKineticAndTheirRangeOverPresentSlots) {
  Model m = testing::EmptyScene();
  Place(m, 4, 0.0L, 0.0L, 0.0L);
  Place(m, 8, 1.0L, 0.0L, 0.0L);
  m.V[4] = 3.0L;
  m.U[4] = 4.0L;
  m.V[9] = 100.0L;  // absent
  const SlotArray<real> speed = ParticleValues(m, {}, ColourBy::Speed);
  const SlotArray<real> kinetic = ParticleValues(m, {}, ColourBy::Kinetic);
  EXPECT_EQ(speed[4], 5.0L);
  EXPECT_EQ(kinetic[4], 12.5L);
  EXPECT_EQ(speed[9], 0.0L);
  const ValueRange range = PresentRange(m, speed);
  EXPECT_TRUE(range.Any);
  EXPECT_EQ(range.Least, 0.0L);
  EXPECT_EQ(range.Greatest, 5.0L);
  EXPECT_EQ(ParticleValues(m, {}, ColourBy::Potential), ParticlePotentials(m, {}));
}

TEST(TrailRecord, KeepsTheLastKStepsAndStartsAnewWhenTheCountGoesBack) {
  Model m = testing::EmptyScene();
  m.Present[1] = true;
  TrailRecord trails(3);
  for (int step = 1; step <= 5; ++step) {
    m.StepCount = step;
    m.ShownX[1] = step;
    trails.Add(m);
  }
  ASSERT_EQ(trails.Size(), 3);
  EXPECT_EQ(trails.Ago(0).X[1], 5.0L);
  EXPECT_EQ(trails.Ago(2).X[1], 3.0L);
  trails.SetSteps(2);
  ASSERT_EQ(trails.Size(), 2);
  EXPECT_EQ(trails.Ago(1).X[1], 4.0L);
  // Window positions as the view projects them, again after the view changed.
  ViewState view;
  SetCentre(view, 800, 600);
  EXPECT_EQ(trails.Placed(1, view)[1], ProjectPoint(view, 4.0L, 0.0L, 0.0L));
  view.Zoom = 240.0L;
  EXPECT_EQ(trails.Placed(1, view)[1], ProjectPoint(view, 4.0L, 0.0L, 0.0L));
  // A frame added with the view it was just drawn with keeps that drawing's positions, and only
  // under that view; slots beyond N are projected all the same.
  m.StepCount = 6;
  m.N = 1;
  Place(m, 2, 0.5L, 0.0L, 0.0L);
  view.Zoom = 120.0L;
  ProjectParticles(view, m);
  trails.Add(m, &view);
  EXPECT_EQ(trails.Placed(0, view)[1], (ScreenPoint{view.ScreenX[1], view.ScreenY[1]}));
  EXPECT_EQ(trails.Placed(0, view)[2], ProjectPoint(view, 0.5L, 0.0L, 0.0L));
  view.PanX = 7.0L;
  EXPECT_EQ(trails.Placed(0, view)[1], ProjectPoint(view, 5.0L, 0.0L, 0.0L));
  m.StepCount = 0;  // File > New or Open
  trails.Add(m);
  EXPECT_EQ(trails.Size(), 1);
}

TEST(SavedComparison, TellsWhetherTheSceneDiffersFromItsFile) {
  testing::TemporaryFolder folder;
  const std::string name = folder.Path("scene.ato");
  Model m = testing::EmptyScene();
  Place(m, 3, 1.0L, 2.0L, 3.0L);
  EXPECT_TRUE(DiffersFromDocument(m, name));  // no file yet
  WriteDocumentFile(m, name);
  EXPECT_FALSE(DiffersFromDocument(m, name));
  m.X[3] = 1.5L;
  EXPECT_TRUE(DiffersFromDocument(m, name));
}

}  // namespace
}  // namespace velmora
