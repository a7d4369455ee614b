#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "figures/FigureBuilder.h"
#include "figures/SpiralFaces.h"
#include "model/Model.h"

namespace velmora {
namespace {

// A model whose every slot holds distinct values, so that any stray write shows.
Model FilledModel() {
  Model model;
  model.N = SlotCount;
  model.dt = 0.003L;
  for (int p = 0; p < ParameterCount; ++p) Parameter(model, p) = 100.0L + p;
  for (int n = 1; n <= SlotCount; ++n) {
    const real v = n;
    model.X[n] = v + 0.1L;
    model.NewX[n] = v + 0.2L;
    model.ShownX[n] = v + 0.3L;
    model.Y[n] = v + 0.4L;
    model.NewY[n] = v + 0.5L;
    model.ShownY[n] = v + 0.6L;
    model.Z[n] = v + 0.7L;
    model.NewZ[n] = v + 0.8L;
    model.ShownZ[n] = v + 0.9L;
    model.V[n] = -v;
    model.NewV[n] = -v - 0.1L;
    model.U[n] = -v - 0.2L;
    model.NewU[n] = -v - 0.3L;
    model.W[n] = -v - 0.4L;
    model.NewW[n] = -v - 0.5L;
    model.Present[n] = n % 3 != 0;
  }
  return model;
}

void ExpectSlotUntouchedExceptShown(const Model& after, const Model& before, int n) {
  SCOPED_TRACE(n);
  for (auto member : {&Model::X, &Model::Y, &Model::Z, &Model::V, &Model::U, &Model::W, &Model::NewX,
                      &Model::NewY, &Model::NewZ, &Model::NewV, &Model::NewU, &Model::NewW})
    EXPECT_TRUE(SameBits((after.*member)[n], (before.*member)[n]));
  EXPECT_EQ(after.Present[n], before.Present[n]);
}

void ExpectShownZero(const Model& model, int first, int last) {
  for (int n = first; n <= last; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(model.ShownX[n], 0.0L);
    EXPECT_EQ(model.ShownY[n], 0.0L);
    EXPECT_EQ(model.ShownZ[n], 0.0L);
  }
}

real Distance(const Model& model, int i, int j) {
  const real dx = model.ShownX[i] - model.ShownX[j];
  const real dy = model.ShownY[i] - model.ShownY[j];
  const real dz = model.ShownZ[i] - model.ShownZ[j];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

TEST(FigureBuilder, WeightedPointDividesInTheRatioKToOne) {
  const Point3 a{1.0L, -2.0L, 4.0L};
  const Point3 b{4.0L, 1.0L, -2.0L};
  const Point3 mid = WeightedPoint(a, b, 1.0);
  EXPECT_EQ(mid.X, 2.5L);
  EXPECT_EQ(mid.Y, -0.5L);
  EXPECT_EQ(mid.Z, 1.0L);
  const Point3 twoToOne = WeightedPoint(a, b, 2.0);  // twice as far from a as from b
  EXPECT_EQ(twoToOne.X, 3.0L);
  EXPECT_EQ(twoToOne.Y, 0.0L);
  EXPECT_EQ(twoToOne.Z, 0.0L);
}

TEST(FigureBuilder, SpiralMatchesItsCoordinateTable) {
  constexpr std::array<std::array<double, 3>, SpiralPointCount + 1> expected = {{
      {},
      {0, 0, 0},
      {1, 0, 0},
      {0.5, 0, 0.866025},
      {0.5, 0.707107, 0.288675},
      {0.5, -0.707107, 0.288675},
      {0.5, -0.471405, -0.673575},
      {0.5, 0.392837, -0.737725},
      {1.333333, -0.052378, -0.940867},
      {1.388889, -0.742026, -0.338570},
      {1.981481, -0.058198, -0.179382},
      {1.487654, 0.668308, -0.408263},
      {1.646091, 0.459118, 0.549103},
      {1.597394, -0.401028, 0.654744},
      {2.483310, -0.000072, 0.682976},
      {2.476528, 0.668260, 0.047054},
      {2.981456, -0.052458, -0.182004},
      {2.487637, -0.742079, 0.167339},
      {2.483739, -0.568418, -0.812342},
      {2.476814, 0.289363, -0.949825},
  }};
  Model model = FilledModel();
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral);
  for (int n = 1; n <= SpiralPointCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_NEAR(static_cast<double>(model.ShownX[n]), expected[n][0], 5e-7);
    EXPECT_NEAR(static_cast<double>(model.ShownY[n]), expected[n][1], 5e-7);
    EXPECT_NEAR(static_cast<double>(model.ShownZ[n]), expected[n][2], 5e-7);
  }
  EXPECT_EQ(Distance(model, 1, 2), 1.0L);
  EXPECT_NEAR(static_cast<double>(Distance(model, 1, 4)), 0.9128709, 5e-8);
  EXPECT_NEAR(static_cast<double>(Distance(model, 3, 5)), 0.9128709, 5e-8);
}

// Every reflected point closes a tetrahedron on its face: the face's centroid lies halfway
// between the new point and the apex it mirrors.
TEST(FigureBuilder, SpiralPointsMirrorTheirApexThroughTheFaceCentroid) {
  Model model;
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral);
  for (int n = FirstReflectedPoint; n <= SpiralPointCount; ++n) {
    SCOPED_TRACE(n);
    const SpiralFace& f = SpiralFaces[n];
    for (auto shown : {&Model::ShownX, &Model::ShownY, &Model::ShownZ}) {
      const auto& c = model.*shown;
      EXPECT_LE(std::fabs((c[n] + c[f.E]) / 2.0L - (c[f.A] + c[f.B] + c[f.C]) / 3.0L), 1e-17L);
    }
  }
}

TEST(FigureBuilder, SpiralWritesOnlyTheDisplayCoordinates) {
  const Model before = FilledModel();
  Model model = before;
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral);
  ExpectShownZero(model, SpiralPointCount + 1, SlotCount);
  for (int n = 1; n <= SlotCount; ++n) ExpectSlotUntouchedExceptShown(model, before, n);
  for (int p = 0; p < ParameterCount; ++p) EXPECT_EQ(Parameter(model, p), Parameter(before, p));
}

TEST(FigureBuilder, AnotherFigureKindLeavesEveryDisplayCoordinateZero) {
  const Model before = FilledModel();
  Model model = before;
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral + 1);
  ExpectShownZero(model, 1, SlotCount);
  for (int n = 1; n <= SlotCount; ++n) ExpectSlotUntouchedExceptShown(model, before, n);
}

TEST(FigureBuilder, EasySquareFillsSlotsOneToFourInEveryCopy) {
  const real q = 0.212L;
  const std::array<std::array<real, 3>, 5> corners = {{{}, {q, q, -q}, {q, q, q}, {-q, q, q}, {-q, q, -q}}};
  const Model before = FilledModel();
  Model model = before;
  model.SpiralShown = false;
  // The figure kind only chooses among figures; the easy square is built whatever it is.
  BuildFigure(model, TetrahedronSpiral + 1);
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(model.Present[n]);
    for (auto [position, working, shown, axis] : {std::tuple{&Model::X, &Model::NewX, &Model::ShownX, 0},
                                                  std::tuple{&Model::Y, &Model::NewY, &Model::ShownY, 1},
                                                  std::tuple{&Model::Z, &Model::NewZ, &Model::ShownZ, 2}}) {
      EXPECT_TRUE(SameBits((model.*position)[n], corners[n][axis]));
      EXPECT_TRUE(SameBits((model.*working)[n], corners[n][axis]));
      EXPECT_TRUE(SameBits((model.*shown)[n], corners[n][axis]));
    }
    for (auto velocity : {&Model::V, &Model::U, &Model::W, &Model::NewV, &Model::NewU, &Model::NewW})
      EXPECT_TRUE(SameBits((model.*velocity)[n], 0.0L));
  }
  ExpectShownZero(model, 5, SlotCount);
  for (int n = 5; n <= SlotCount; ++n) ExpectSlotUntouchedExceptShown(model, before, n);
  EXPECT_TRUE(SameBits(model.dt, before.dt));
  EXPECT_EQ(model.N, before.N);
}

TEST(FigureBuilder, EasySquareSetsTheSameParametersInEveryGroup) {
  Model model = FilledModel();
  model.SpiralShown = false;
  BuildFigure(model, TetrahedronSpiral);
  for (int group = 1; group <= GroupCount; ++group) {
    SCOPED_TRACE(group);
    const GroupParameters p = ParametersOfGroup(model, group);
    EXPECT_EQ(p.A, 1.0L);
    EXPECT_TRUE(SameBits(p.B, 2.718L));  // the decimal, as an extended value, not e
    EXPECT_EQ(p.C, 5.0L);
    EXPECT_EQ(p.D, 10.0L);
    EXPECT_EQ(p.F, 20.0L);
    EXPECT_EQ(p.G, 30.0L);
  }
}

}  // namespace
}  // namespace velmora
