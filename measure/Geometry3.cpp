#include "measure/Geometry3.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "math/Transcendental.h"
#include "model/FloatingPointFaults.h"

namespace velmora {

namespace {

Point3 Minus(const Point3& a, const Point3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
real Dot(const Point3& a, const Point3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
Point3 Cross(const Point3& a, const Point3& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
real Length(const Point3& a) { return std::sqrt(Dot(a, a)); }
real Degrees(real radians) { return radians * 180.0L / std::numbers::pi_v<real>; }

}  // namespace

real Separation(const Point3& a, const Point3& b) {
  FaultFlagsKept flagsKept;
  return Length(Minus(a, b));
}

real AngleDegrees(const Point3& a, const Point3& b, const Point3& c) {
  FaultFlagsKept flagsKept;
  const Point3 u = Minus(a, b);
  const Point3 v = Minus(c, b);
  if (Length(u) == 0.0L || Length(v) == 0.0L) return std::numeric_limits<real>::quiet_NaN();
  return Degrees(Atan2(Length(Cross(u, v)), Dot(u, v)));
}

real DihedralDegrees(const Point3& a, const Point3& b, const Point3& c, const Point3& d) {
  FaultFlagsKept flagsKept;
  const Point3 u = Minus(b, a);
  const Point3 v = Minus(c, b);
  const Point3 w = Minus(d, c);
  const Point3 vw = Cross(v, w);
  return Degrees(Atan2(Length(v) * Dot(u, vw), Dot(Cross(u, v), vw)));
}

Point3 PositionOf(const Model& model, int slot) { return {model.X[slot], model.Y[slot], model.Z[slot]}; }

}  // namespace velmora
