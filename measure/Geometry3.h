#pragma once
// Distances and angles between points of model space, as the selection's readout and the Python
// module report them. Angles are in degrees. Unlike the editor's calculators these never fail:
// a far-off or broken position shows as INF or NAN, and the floating-point status flags, which a
// run checks, are left as they were.

#include "model/Model.h"
#include "model/Point3.h"

namespace velmora {

real Separation(const Point3& a, const Point3& b);

// The angle a-b-c at b, between b->a and b->c: 0 .. 180 degrees, formed as atan2(|u x v|, u . v),
// which stays exact near 0 and 180 where an arc cosine loses half its digits. NAN when a or c
// coincides with b.
real AngleDegrees(const Point3& a, const Point3& b, const Point3& c);

// The dihedral angle a-b-c-d between the planes (a, b, c) and (b, c, d), -180 .. 180 degrees:
// seen along b->c, positive when the near bond b->a must turn clockwise to cover the far bond
// c->d. With u = b - a, v = c - b, w = d - c: atan2(|v| u . (v x w), (u x v) . (v x w)). NAN
// when a plane has no direction: a, b, c or b, c, d on one line (a point given twice included).
real DihedralDegrees(const Point3& a, const Point3& b, const Point3& c, const Point3& d);

// The current position (X, Y, Z) of a slot.
Point3 PositionOf(const Model& model, int slot);

}  // namespace velmora
