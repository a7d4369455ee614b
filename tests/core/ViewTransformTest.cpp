#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>
#include <utility>

#include "model/FloatingPointFaults.h"
#include "model/Round.h"
#include "view/RotationMatrix.h"
#include "view/ViewState.h"

namespace velmora {
namespace {

struct RoundCase {
  real value;
  int expected;
};

class RoundTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundTest, GoesToTheNearestIntegerWithHalvesToEven) {
  ClearFaultFlags();
  EXPECT_EQ(Round(GetParam().value), GetParam().expected);
  EXPECT_FALSE(FaultFlagged());
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTest,
    ::testing::Values(RoundCase{0.0L, 0}, RoundCase{-0.0L, 0}, RoundCase{0.5L, 0}, RoundCase{1.5L, 2},
                      RoundCase{2.5L, 2}, RoundCase{-0.5L, 0}, RoundCase{-1.5L, -2}, RoundCase{-2.5L, -2},
                      RoundCase{422.5L, 422}, RoundCase{423.5L, 424}, RoundCase{0.49999999999999999L, 0},
                      RoundCase{0.50000000000000001L, 1}, RoundCase{-7.3L, -7}, RoundCase{-7.7L, -8},
                      RoundCase{2147483646.5L, 2147483646}, RoundCase{2147483647.4L, INT_MAX},
                      RoundCase{-2147483648.4L, INT_MIN},
                      // Beyond the int range a position saturates, off every screen.
                      RoundCase{2147483647.5L, INT_MAX}, RoundCase{1e30L, INT_MAX},
                      RoundCase{-1e30L, INT_MIN}, RoundCase{std::numeric_limits<real>::infinity(), INT_MAX},
                      RoundCase{-std::numeric_limits<real>::infinity(), INT_MIN},
                      RoundCase{std::numeric_limits<real>::quiet_NaN(), INT_MIN}));

// A document may hold encodings the FPU refuses; drawing them must neither fault nor land on screen.
TEST(Round, RefusedEncodingsGoOffScreenWithoutAFaultFlag) {
  const unsigned char encodings[][10] = {
      {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F},  // unnormal
      {0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F},  // pseudo-infinity
      {1, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x7F},  // pseudo-NaN
      {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F},  // signalling NaN
  };
  for (const auto& bytes : encodings) {
    ClearFaultFlags();
    EXPECT_EQ(Round(LoadExtended(bytes)), INT_MIN);
    EXPECT_FALSE(FaultFlagged());
  }
  const unsigned char pseudoDenormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0};
  EXPECT_EQ(Round(LoadExtended(pseudoDenormal)), 0);
}

// Rx(teta) * Ry(psi) * Rz(phi) multiplied out numerically, to hold the closed forms against.
RotationMatrix ProductOfAxisTurns(real teta, real psi, real phi) {
  using M = std::array<std::array<real, 3>, 3>;
  const auto multiply = [](const M& a, const M& b) {
    M c{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k) c[i][j] += a[i][k] * b[k][j];
    return c;
  };
  const real ct = std::cos(teta), st = std::sin(teta), cp = std::cos(psi), sp = std::sin(psi);
  const real cf = std::cos(phi), sf = std::sin(phi);
  const M rx = {{{1, 0, 0}, {0, ct, -st}, {0, st, ct}}};
  const M ry = {{{cp, 0, sp}, {0, 1, 0}, {-sp, 0, cp}}};
  const M rz = {{{cf, -sf, 0}, {sf, cf, 0}, {0, 0, 1}}};
  const M r = multiply(multiply(rx, ry), rz);
  return {r[0][0], r[0][1], r[0][2], r[1][0], r[1][1], r[1][2], r[2][0], r[2][1], r[2][2]};
}

void ExpectMatrixNear(const RotationMatrix& a, const RotationMatrix& b) {
  const real tolerance = 1e-17L;
  const std::array<real, 9> x = {a.M11, a.M12, a.M13, a.M21, a.M22, a.M23, a.M31, a.M32, a.M33};
  const std::array<real, 9> y = {b.M11, b.M12, b.M13, b.M21, b.M22, b.M23, b.M31, b.M32, b.M33};
  for (int e = 0; e < 9; ++e) {
    SCOPED_TRACE(e);
    EXPECT_LE(std::fabs(x[e] - y[e]), tolerance);
  }
}

TEST(RotationMatrix, IsTheProductOfTheTurnsAboutXYAndZ) {
  for (auto [teta, psi, phi] :
       {std::tuple{0.3L, -1.1L, 2.0L}, std::tuple{-2.5L, 0.7L, -0.4L}, std::tuple{1.0L, 0.0L, 0.0L},
        std::tuple{0.0L, 1.0L, 0.0L}, std::tuple{0.0L, 0.0L, 1.0L}}) {
    SCOPED_TRACE(static_cast<double>(teta));
    ExpectMatrixNear(MatrixOfAngles(teta, psi, phi), ProductOfAxisTurns(teta, psi, phi));
  }
}

TEST(ViewState, StartsWithTheStartUpValues) {
  const ViewState view;
  EXPECT_EQ(view.Zoom, 120.0L);
  EXPECT_TRUE(SameBits(view.AngleStep, 0.01L));
  EXPECT_EQ(view.ZoomStep, 3.0L);
  EXPECT_EQ(view.PanStep, 5.0L);
  EXPECT_EQ(view.FigureKind, TetrahedronSpiral);
  EXPECT_FALSE(view.SpinOn);
  // The matrix of the zero turn angles, signed zeros included.
  const RotationMatrix zero = MatrixOfAngles(0.0L, 0.0L, 0.0L);
  for (auto [got, want] : {std::pair{view.RotM.M11, zero.M11}, std::pair{view.RotM.M12, zero.M12},
                           std::pair{view.RotM.M23, zero.M23}, std::pair{view.RotM.M33, zero.M33}})
    EXPECT_TRUE(SameBits(got, want));
  EXPECT_EQ(view.RotM.M11, 1.0L);
  EXPECT_EQ(view.RotM.M22, 1.0L);
  EXPECT_EQ(view.RotM.M33, 1.0L);
}

TEST(ViewState, CentreIsHalfTheWidthAndHalfThePanelTopRoundedToEven) {
  ViewState view;
  SetCentre(view, 845, 601);
  EXPECT_EQ(view.CentreX, 422);
  EXPECT_EQ(view.CentreY, 300);
  SetCentre(view, 847, 603);
  EXPECT_EQ(view.CentreX, 424);
  EXPECT_EQ(view.CentreY, 302);
}

TEST(ProjectPoint, IdentityPutsXRightZDownAndYOnTheCentre) {
  ViewState view;
  SetCentre(view, 845, 601);
  EXPECT_EQ(ProjectPoint(view, 1.0L, 0.0L, 0.0L), (ScreenPoint{482, 300}));
  EXPECT_EQ(ProjectPoint(view, 0.0L, 0.0L, 1.0L), (ScreenPoint{422, 360}));
  EXPECT_EQ(ProjectPoint(view, 0.0L, 1.0L, 0.0L), (ScreenPoint{422, 300}));
  EXPECT_EQ(ProjectPoint(view, -1.0L, 5.0L, -1.0L), (ScreenPoint{362, 240}));
}

TEST(ProjectPoint, AddsTheShiftAfterTheScaleAndRoundsHalvesToEven) {
  ViewState view;
  view.CentreX = 400;
  view.CentreY = 300;
  view.Zoom = 3.0L;
  view.PanX = 0.5L;
  view.PanY = -0.5L;
  // 400 + 1 * 3 / 2 + 0.5 = 402 exactly; 300 + 1 * 3 / 2 - 0.5 = 301.
  EXPECT_EQ(ProjectPoint(view, 1.0L, 0.0L, 1.0L), (ScreenPoint{402, 301}));
  // 400 + 0.5 + 0.5 = 401; 300 + 0.5 - 0.5 = 300.
  EXPECT_EQ(ProjectPoint(view, 1.0L / 3.0L, 0.0L, 1.0L / 3.0L), (ScreenPoint{401, 300}));
  view.PanX = 0.0L;
  view.PanY = 0.0L;
  // 400.5 and 299.5 both go to the even neighbour.
  EXPECT_EQ(ProjectPoint(view, 1.0L / 3.0L, 0.0L, -1.0L / 3.0L), (ScreenPoint{400, 300}));
}

TEST(ProjectPoint, TurnsThroughTheMatrixBeforeDroppingDepth) {
  ViewState view;
  view.CentreX = 200;
  view.CentreY = 200;
  view.Zoom = 100.0L;
  // A quarter turn about x takes the depth axis y onto the downward axis z.
  view.ViewTeta = std::numbers::pi_v<real> / 2.0L;
  MatrixFromView(view);
  EXPECT_EQ(ProjectPoint(view, 0.0L, 1.0L, 0.0L), (ScreenPoint{200, 250}));
  EXPECT_EQ(ProjectPoint(view, 0.0L, 0.0L, 1.0L), (ScreenPoint{200, 200}));
  // A quarter turn about z takes y onto x.
  view.ViewTeta = 0.0L;
  view.ViewPhi = -std::numbers::pi_v<real> / 2.0L;
  MatrixFromView(view);
  EXPECT_EQ(ProjectPoint(view, 0.0L, 1.0L, 0.0L), (ScreenPoint{250, 200}));
}

}  // namespace
}  // namespace velmora
