#pragma once
// The two built-in pictures: the tetrahedron spiral shown in figure mode, and the easy square,
// a ready scene of four taons that start-up and the Taons command fall back on.

#include "model/Model.h"
#include "model/Point3.h"

namespace velmora {

// The only figure kind there is; a figure mode with any other kind shows an empty black area.
inline constexpr int TetrahedronSpiral = 1;

// The point dividing the segment from a to b in the ratio k : 1, per coordinate
// (a + k b) / (1 + k); k = 1 gives the midpoint. k is a double, as the spiral's construction
// hands it over: the spiral's bits depend on that rounding.
Point3 WeightedPoint(const Point3& a, const Point3& b, double k);

// Clears the display coordinates of every slot, then, in figure mode (model.SpiralShown), puts
// the spiral's 19 points into the display coordinates of slots 1 to 19 when figureKind is
// TetrahedronSpiral (nothing for another kind), and in particle mode builds the easy square:
// slots 1 to 4 in all their copies and the parameters of all three groups. Nothing else of the
// model changes.
void BuildFigure(Model& model, int figureKind);

}  // namespace velmora
