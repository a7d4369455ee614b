#include "figures/FigureBuilder.h"

#include <array>
#include <cmath>
#include <numbers>

#include "figures/SpiralFaces.h"
#include "math/Transcendental.h"

namespace velmora {

namespace {

using SpiralPoints = std::array<Point3, SpiralPointCount + 1>;  // 1-based like the slots

// The spiral starts from a unit equilateral triangle P1 P2 P3 in the plane y = 0:
//   h = sqrt(1 - 0.5^2)      its height, the z of P3;
//   d = 0.5 / sin(pi / 3)    the distance from a corner to its centroid, so h - d is the
//                            centroid's z;
//   s = sqrt(h^2 - 0.5^2)    how far P4 and P5 stand off the triangle's plane. This is sqrt(0.5),
//                            lower than a regular tetrahedron's sqrt(2/3): the edges from P4
//                            and P5 to the triangle measure 0.9128709, which the picture keeps;
//   k = (h - d) / d          = 0.5: the centroid divides a median from its midpoint M to the
//                            opposite corner in the ratio 1 : 2, i.e. G = (M + k C) / (1 + k).
struct SpiralConstants {
  real h, d, s, k;
};

SpiralConstants ComputeSpiralConstants() {
  const real half = 0.5L;
  const real h = std::sqrt(1.0L - half * half);
  const real d = half / Sin(std::numbers::pi_v<real> / 3.0L);
  const real s = std::sqrt(h * h - half * half);
  const real k = (h - d) / d;
  return {h, d, s, k};
}

// Each point from 6 on closes a tetrahedron on the face (a, b, c): G is the face's centroid
// (first the midpoint M of a and b, then the point dividing M to c as 1 : 2), and the new point
// is the reflection 2 G - Pe of the previous tetrahedron's apex e through it.
SpiralPoints ComputeSpiralPoints() {
  const SpiralConstants c = ComputeSpiralConstants();
  SpiralPoints p{};
  p[1] = {0.0L, 0.0L, 0.0L};
  p[2] = {1.0L, 0.0L, 0.0L};
  p[3] = {0.5L, 0.0L, c.h};
  p[4] = {0.5L, c.s, c.h - c.d};
  p[5] = {0.5L, -c.s, c.h - c.d};
  const double k = static_cast<double>(c.k);
  for (int n = FirstReflectedPoint; n <= SpiralPointCount; ++n) {
    const SpiralFace& face = SpiralFaces[n];
    const Point3 midpoint = WeightedPoint(p[face.A], p[face.B], 1.0);
    const Point3 centroid = WeightedPoint(midpoint, p[face.C], k);
    const Point3& apex = p[face.E];
    p[n] = {2.0L * centroid.X - apex.X, 2.0L * centroid.Y - apex.Y, 2.0L * centroid.Z - apex.Z};
  }
  return p;
}

void BuildSpiral(Model& model) {
  const SpiralPoints p = ComputeSpiralPoints();
  for (int n = 1; n <= SpiralPointCount; ++n) {
    model.ShownX[n] = p[n].X;
    model.ShownY[n] = p[n].Y;
    model.ShownZ[n] = p[n].Z;
  }
}

// Four taons at the corners of a square of side 2q in the plane y = q, held together by the
// same parameters in every group.
constexpr real SquareHalfSide = 0.212L;
constexpr int SquareCorners = 4;
constexpr std::array<std::array<int, 3>, SquareCorners + 1> SquareSigns = {
    {{}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}}};

// A, B, C, D, F, G of every group; B is the decimal 2.718, not e.
constexpr std::array<real, ParametersPerGroup> SquareParameters = {1.0L, 2.718L, 5.0L, 10.0L, 20.0L, 30.0L};

real SignedHalfSide(int sign) { return sign > 0 ? SquareHalfSide : -SquareHalfSide; }

void BuildEasySquare(Model& model) {
  for (int n = 1; n <= SquareCorners; ++n) {
    model.ShownX[n] = SignedHalfSide(SquareSigns[n][0]);
    model.ShownY[n] = SignedHalfSide(SquareSigns[n][1]);
    model.ShownZ[n] = SignedHalfSide(SquareSigns[n][2]);
  }
  // A position goes into its current, working and display copies at once, so that the run
  // starts from the same scene that is drawn.
  for (int n = 1; n <= SquareCorners; ++n) {
    model.Present[n] = true;
    model.V[n] = model.U[n] = model.W[n] = 0.0L;
    model.X[n] = model.ShownX[n];
    model.Y[n] = model.ShownY[n];
    model.Z[n] = model.ShownZ[n];
    AlignCopies(model, n);
  }
  for (int p = 0; p < ParameterCount; ++p) Parameter(model, p) = SquareParameters[p % ParametersPerGroup];
}

}  // namespace

Point3 WeightedPoint(const Point3& a, const Point3& b, double k) {
  const real weight = k;
  const real divisor = 1.0L + weight;
  return {(a.X + weight * b.X) / divisor, (a.Y + weight * b.Y) / divisor, (a.Z + weight * b.Z) / divisor};
}

void BuildFigure(Model& model, int figureKind) {
  for (int n = 1; n <= SlotCount; ++n) {
    model.ShownX[n] = 0.0L;
    model.ShownY[n] = 0.0L;
    model.ShownZ[n] = 0.0L;
  }
  if (!model.SpiralShown)
    BuildEasySquare(model);
  else if (figureKind == TetrahedronSpiral)
    BuildSpiral(model);
}

}  // namespace velmora
