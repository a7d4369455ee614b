#include "structure/Shape.h"

#include "structure/SymmetricEigen.h"

namespace velmora {

Shape ShapeOf(const Points& points) {
  Shape shape;
  if (points.empty()) return shape;
  shape.centre = Centre(points);
  Matrix3 s{};
  for (const Point3& p : points) {
    const Point3 d = p - shape.centre;
    const real q[3] = {d.X, d.Y, d.Z};
    for (int i = 0; i < 3; ++i)
      for (int j = i; j < 3; ++j) s[i][j] += q[i] * q[j];
  }
  const real share = 1.0L / static_cast<real>(points.size());
  for (int i = 0; i < 3; ++i)
    for (int j = i; j < 3; ++j) s[i][j] *= share;
  const std::array<real, 3> l = SymmetricEigen(s).values;
  shape.eigenvalues = l;
  shape.gyration = std::sqrt(s[0][0] + s[1][1] + s[2][2]);
  shape.asphericity = l[2] - (l[0] + l[1]) / 2.0L;
  shape.acylindricity = l[1] - l[0];
  return shape;
}

Points Subset(const Points& points, const std::vector<int>& indices) {
  Points subset;
  for (const int i : indices) subset.push_back(points[i]);
  return subset;
}

}  // namespace velmora
