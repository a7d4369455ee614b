#pragma once
// The point group of a cloud of points with equal masses, by its Schoenflies symbol, within a
// tolerance: an operation is a symmetry when it carries every point to within `tolerance` (a
// model length) of a point of the cloud.
//
// The search starts from the inertia tensor about the centre: three different moments (an
// asymmetric top) leave only the principal axes as rotation axes and the principal planes as
// mirrors; two equal moments (a symmetric top) make the third axis the only candidate for an
// axis of order 3 or more; three equal moments (a spherical top) call for the axes and planes
// through the points of the two shells (points at one distance from the centre) of fewest
// points: the directions to
// the points, to the middles of pairs, the normals of the planes through three points, and the
// planes halfway between two points. The symmetry elements found then name the group:
// two or more fivefold axes I or Ih, fourfold O or Oh, threefold T, Td or Th; otherwise the
// highest axis (order n) with n perpendicular twofold axes Dn, Dnh or Dnd, without them Cn,
// Cnh, Cnv or S2n, and without an axis Cs, Ci or C1. Points on one line are C*v or D*h, a
// single point Kh.

#include <string>
#include <vector>

#include "structure/Vector3.h"

namespace velmora {

struct SymmetryAxis {
  Point3 direction;  // unit length
  int order = 1;
};

struct PointGroup {
  std::string symbol;              // "Ih", "D5h", "C1"; empty for no points
  std::vector<SymmetryAxis> axes;  // the rotation axes found, highest order first
  std::vector<Point3> planes;      // unit normals of the mirror planes found
  bool centre = false;             // inversion through the centre
};

PointGroup FindPointGroup(const Points& points, real tolerance);

}  // namespace velmora
