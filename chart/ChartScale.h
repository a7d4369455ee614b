#pragma once
// The arithmetic of a chart's axes: a range that holds the data, ticks at 1, 2 or 5 times a power
// of ten, and the mapping of values onto pixels. The chart window draws with it; each tick is
// formed as a whole multiple of the spacing, so that its label in the general number format
// (FormatReal) reads "0.3", never "0.30000000000000004".

#include <vector>

#include "model/Real.h"

namespace velmora {

struct ChartAxis {
  real low = 0.0L;   // the range shown, from the first tick to the last
  real high = 1.0L;
  real tick = 1.0L;  // the spacing of the ticks: 1, 2 or 5 times a power of ten
  std::vector<real> ticks;
};

// The axis that holds [low, high] with at most `maxTicks` ticks (at least 2), the widest-spaced
// choice of the finest spacing that fits. An empty or one-point range is widened around its value;
// values that are not finite are not given (the caller leaves them out).
ChartAxis NiceAxis(real low, real high, int maxTicks);

// The pixel of a value on an axis drawn from pixel `first` (the axis's low end) to `last`.
int ToPixel(const ChartAxis& axis, real value, int first, int last);

}  // namespace velmora
