#pragma once
// The arithmetic of a chart's axes: a range that holds the data, ticks at 1, 2 or 5 times a power
// of ten, and the mapping of values onto pixels. The chart window draws with it; each tick is
// formed from a whole count of spacings, so that its label in the general number format
// (FormatReal) reads "0.3", never "0.30000000000000004".
//
// A settled quantity (a cooled scene's potential) varies only in the last places of values far
// from zero. Such a range is widened around its middle to LeastShare of its size, one unit in the
// last of the 15 digits the program shows, and ticks are counted with an integer and never number
// more than MostTicks, so no range keeps the chart busy. Where the ticks lie far from zero against
// their spacing, their labels read the tick less an offset, a round number with at most 15 digits
// that the axis title names: "potential + 355.21" over labels "1E-13", "2E-13".

#include <string>
#include <vector>

#include "model/Real.h"

namespace velmora {

inline constexpr int MostTicks = 100;
inline constexpr real LeastShare = 1.0e-14L;
// Labels that would count this many spacings from zero or more read from an offset instead.
inline constexpr long long OffsetFrom = 100000;

struct ChartAxis {
  real low = 0.0L;  // the range shown, from the first tick to the last
  real high = 1.0L;
  real tick = 1.0L;  // the spacing of the ticks: 1, 2 or 5 times a power of ten
  std::vector<real> ticks;
  std::vector<real> labels;  // what each tick's label reads: the tick less the offset
  real offset = 0.0L;        // 0 when the labels read the ticks themselves
};

// The axis that holds [low, high] with at most `maxTicks` ticks (2 .. MostTicks), the widest-spaced
// choice of the finest spacing that fits. A one-point range is widened by half its size each way
// (0 to -1 .. 1), a range narrower than LeastShare of its size to that share; an end that is not
// finite is left out. Near the largest reals, where a tick beyond the data would overflow, the
// range ends at the data. Never raises a floating-point fault flag.
ChartAxis NiceAxis(real low, real high, int maxTicks);

// The position of a value on an axis drawn from pixel `first` (the axis's low end) to `last`;
// values far beyond the axis stay within one axis length of it.
real ToPosition(const ChartAxis& axis, real value, int first, int last);
// ToPosition rounded to the nearest pixel.
int ToPixel(const ChartAxis& axis, real value, int first, int last);

// The title of a value axis: the quantities' names, with the offset their labels are read from
// ("potential + 355.21" when the labels read potential less -355.21).
std::string AxisTitle(const std::string& names, const ChartAxis& axis, char separator);

}  // namespace velmora
