#pragma once
// Window positions come from reals by rounding to the nearest integer with halves going to the
// even neighbour (422.5 gives 422, 423.5 gives 424), whatever rounding mode the FPU is in.

#include <climits>
#include <cmath>

#include "model/Real.h"

namespace velmora {

// A position beyond the int range (a particle that has flown far off, a huge zoom) saturates at
// the end of the range, off every screen, instead of wrapping round into the picture; NaN and the
// encodings the FPU refuses, which a document may hold, go to INT_MIN the same way. None of this
// raises a floating-point fault flag, so drawing a scene never fails.
inline int Round(real value) {
  constexpr real Lowest = INT_MIN;
  constexpr real Highest = INT_MAX;
  if (!IsComparable(value) || value <= Lowest) return INT_MIN;
  if (value >= Highest) return INT_MAX;
  real nearest = std::floor(value);
  const real fraction = value - nearest;  // exact: the value's ulp is far below 1 here
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(nearest, 2.0L) != 0.0L)) nearest += 1.0L;
  return static_cast<int>(nearest);
}

}  // namespace velmora
