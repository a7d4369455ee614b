#pragma once
// The arithmetic of the editor's geometry calculators: the distance of two points and the
// fourth vertex of a regular tetrahedron standing on three. Both run in extended precision and
// report invalid operation, division by zero and overflow as FloatingPointFault at the step
// where the fault arises; nothing is returned then, so the caller writes no field.

#include "model/Point3.h"

namespace velmora {

// |PQ| = sqrt((Qx - Px)^2 + (Qy - Py)^2 + (Qz - Pz)^2).
real Distance(const Point3& p, const Point3& q);

// The point on the normal through the centroid of P1, P2, P3 at distance |P1P2| from P1.
// largerRoot chooses the larger Z of the two solutions ("(+/-)Del^0.5" checked).
// Three points in a plane parallel to the Z axis have no such point on a line parametrised by
// Z: "Floating point division by zero" when the plane's normal has an X part, "Invalid floating
// point operation" when it has none (equal or collinear points, or a plane y = const).
Point3 FourthVertex(const Point3& p1, const Point3& p2, const Point3& p3, bool largerRoot);

}  // namespace velmora
