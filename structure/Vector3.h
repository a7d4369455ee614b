#pragma once
// The vector arithmetic of the structure analysis on model points: only +, -, * , / and sqrt.

#include <cmath>
#include <vector>

#include "model/Point3.h"

namespace velmora {

using Points = std::vector<Point3>;

inline Point3 operator+(const Point3& a, const Point3& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline Point3 operator-(const Point3& a, const Point3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline Point3 operator*(real s, const Point3& a) { return {s * a.X, s * a.Y, s * a.Z}; }
inline real Dot(const Point3& a, const Point3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
inline Point3 Cross(const Point3& a, const Point3& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
inline real Length(const Point3& a) { return std::sqrt(Dot(a, a)); }
inline real Distance(const Point3& a, const Point3& b) { return Length(a - b); }

// The mean of the points (the origin for none).
inline Point3 Centre(const Points& points) {
  Point3 sum;
  for (const Point3& p : points) sum = sum + p;
  return points.empty() ? sum : (1.0L / static_cast<real>(points.size())) * sum;
}

}  // namespace velmora
