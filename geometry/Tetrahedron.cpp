#include "geometry/Tetrahedron.h"

#include <cmath>

#include "model/FloatingPointFaults.h"

namespace velmora {

namespace {

real Square(real t) { return t * t; }

}  // namespace

real Distance(const Point3& p, const Point3& q) {
  ClearFaultFlags();
  const real d = std::sqrt(Square(q.X - p.X) + Square(q.Y - p.Y) + Square(q.Z - p.Z));
  ThrowIfFaulted();
  return d;
}

// The apex of a regular tetrahedron over an equilateral triangle lies on the normal through the
// triangle's centroid M, at edge length L from each corner. With the normal N = (M - P1) x
// (M - P2), the line through M along N is, parametrised by z,
//   x = Mx + kx (z - Mz),  y = My + ky (z - Mz),  kx = Nx / Nz,  ky = Ny / Nz.
// Requiring |P - P1|^2 = L^2 and expanding gives a z^2 + b z + c = 0 with
//   a = kx^2 + ky^2 + 1
//   b = 2 (kx (Mx - kx Mz - x1) + ky (My - ky Mz - y1) - z1), written below over Nz,
//   c = (kx Mz - Mx)^2 + (ky Mz - My)^2 + 2 x1 (kx Mz - Mx) + 2 y1 (ky Mz - My)
//       + x1^2 + y1^2 + z1^2 - L^2.
// The root is taken of |b^2 - 4ac|, so a triangle that is not equilateral (negative
// discriminant) still gives a point on the normal, only not at distance L. The faults are
// looked at after every step, so the first step that faults names the message, as a trapping
// FPU would: Nz = 0 faults at kx, as a division by zero (Nx != 0) or as 0/0 (Nx = 0).
Point3 FourthVertex(const Point3& p1, const Point3& p2, const Point3& p3, bool largerRoot) {
  const real x1 = p1.X, y1 = p1.Y, z1 = p1.Z;
  const real x2 = p2.X, y2 = p2.Y, z2 = p2.Z;
  const real x3 = p3.X, y3 = p3.Y, z3 = p3.Z;
  ClearFaultFlags();

  const real L = std::sqrt(Square(x2 - x1) + Square(y2 - y1) + Square(z2 - z1));
  ThrowIfFaulted();

  const real Mx = (x1 + x2 + x3) / 3.0L;
  const real My = (y1 + y2 + y3) / 3.0L;
  const real Mz = (z1 + z2 + z3) / 3.0L;
  ThrowIfFaulted();

  const real Nx = (My - y1) * (Mz - z2) - (Mz - z1) * (My - y2);
  const real Ny = (Mz - z1) * (Mx - x2) - (Mx - x1) * (Mz - z2);
  const real Nz = (Mx - x1) * (My - y2) - (My - y1) * (Mx - x2);
  ThrowIfFaulted();

  const real kx = Nx / Nz;
  ThrowIfFaulted();
  const real ky = Ny / Nz;
  ThrowIfFaulted();

  const real a = kx * kx + ky * ky + 1.0L;
  const real b = (2.0L / Nz) * ((Nz * Mx - Nx * Mz) * Nx / Nz + (Nz * My - Ny * Mz) * Ny / Nz -
                                (Nx * x1 + Ny * y1 + Nz * z1));
  const real c = Square(kx * Mz - Mx) + Square(ky * Mz - My) + 2.0L * x1 * (kx * Mz - Mx) +
                 2.0L * y1 * (ky * Mz - My) + x1 * x1 + y1 * y1 + z1 * z1 - L * L;
  ThrowIfFaulted();

  const real S = std::sqrt(std::fabs(b * b - 4.0L * a * c));
  ThrowIfFaulted();

  const real z4 = largerRoot ? (-b + S) / (2.0L * a) : (-b - S) / (2.0L * a);
  const real x4 = (z4 - Mz) * Nx / Nz + Mx;
  const real y4 = (z4 - Mz) * Ny / Nz + My;
  ThrowIfFaulted();
  return Point3{x4, y4, z4};
}

}  // namespace velmora
