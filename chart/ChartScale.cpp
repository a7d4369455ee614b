#include "chart/ChartScale.h"

#include <cmath>

#include "model/Round.h"

namespace velmora {

namespace {

// The smallest of 1, 2, 5 times a power of ten that is at least `rough`.
real NiceSpacing(real rough) {
  const real power = std::pow(10.0L, std::floor(std::log10(rough)));
  for (real factor : {1.0L, 2.0L, 5.0L, 10.0L})
    if (factor * power >= rough * (1.0L - 1.0e-15L)) return factor * power;
  return 10.0L * power;
}

}  // namespace

ChartAxis NiceAxis(real low, real high, int maxTicks) {
  if (maxTicks < 2) maxTicks = 2;
  if (!(high > low)) {
    const real half = low == 0.0L ? 1.0L : std::fabs(low) / 2.0L;
    low -= half;
    high += half;
  }
  ChartAxis axis;
  // Spacing grows until the ticks that enclose the range number at most maxTicks.
  for (axis.tick = NiceSpacing((high - low) / (maxTicks - 1));; axis.tick = NiceSpacing(axis.tick * 1.5L)) {
    // A value within a billionth of a spacing of a tick counts as on it: 1 / 0.2 need not be 5.
    constexpr real Slack = 1.0e-9L;
    const real first = std::floor(low / axis.tick + Slack);
    const real last = std::ceil(high / axis.tick - Slack);
    if (last - first + 1.0L > maxTicks) continue;
    axis.low = first * axis.tick;
    axis.high = last * axis.tick;
    axis.ticks.clear();
    for (real n = first; n <= last; n += 1.0L) axis.ticks.push_back(n * axis.tick);
    return axis;
  }
}

int ToPixel(const ChartAxis& axis, real value, int first, int last) {
  return Round(first + (value - axis.low) / (axis.high - axis.low) * (last - first));
}

}  // namespace velmora
