#pragma once
// The viridis colour map, perceptually uniform and readable in grey: ten colours at equal steps
// from dark violet (0) to yellow (1), and straight lines between them.

#include "model/Real.h"
#include "view/SceneColours.h"

namespace velmora {

// The map's colour at t, which is held to 0 .. 1 (NAN gives the colour of 0).
Colour Viridis(real t);

// Where `value` lies on the range least .. greatest, 0 .. 1; the middle for a range of one value.
real RangeFraction(real value, real least, real greatest);

}  // namespace velmora
