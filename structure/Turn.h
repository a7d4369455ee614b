#pragma once
// The cosine and sine of a whole turn divided by n, for the rotations of the symmetry search.

#include "model/Real.h"

namespace velmora {

struct Turn {
  real cosine, sine;
};

// cos(2 pi / n) and sin(2 pi / n) for n >= 1.
Turn TurnOfOrder(int n);

}  // namespace velmora
