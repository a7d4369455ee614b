#pragma once
// The size and shape of a group of points with unit masses: the gyration tensor
//   S = (1/n) sum (q - c)(q - c)^T  about the centre c = (1/n) sum q,
// its eigenvalues l1 <= l2 <= l3, the radius of gyration Rg = sqrt(l1 + l2 + l3), the
// asphericity b = l3 - (l1 + l2) / 2 (0 for a sphere or a cube) and the acylindricity
// c = l2 - l1 (0 for any shape with a threefold or higher axis).

#include <array>

#include "structure/Vector3.h"

namespace velmora {

struct Shape {
  Point3 centre;
  real gyration = 0.0L;
  std::array<real, 3> eigenvalues{};
  real asphericity = 0.0L;
  real acylindricity = 0.0L;
};

// Of every point (all zeros for none).
Shape ShapeOf(const Points& points);

// Of the points with the given indices.
Points Subset(const Points& points, const std::vector<int>& indices);

}  // namespace velmora
