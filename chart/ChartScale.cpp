#include "chart/ChartScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "model/FloatingPointFaults.h"
#include "model/Round.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

constexpr real Largest = std::numeric_limits<real>::max();
// The least width of a range about zero: far above the denormals, so that its spacing and every
// power of ten the ticks need are normal numbers.
constexpr real LeastWidth = 1.0e-4900L;
// A count of spacings from zero stays far inside the integers; the widening keeps it below 1E17.
constexpr real CountLimit = 1.0e18L;

// A tick spacing: 1, 2 or 5 times ten to the exponent.
struct Spacing {
  int mantissa;
  int exponent;
};

// The ticks from `first` times the spacing, `count` of them; not countable when a range lies
// too far from zero for its spacing.
struct TickRun {
  long long first = 0;
  long long count = 0;
  bool countable = false;
};

struct Range {
  real low, high;
};

// 10^n for n >= 0 by squaring, with integer reals only: exact up to 10^27, beyond that within a
// few units in the last place, and an infinity (with the overflow flag) beyond the largest real.
real PowerOfTen(int n) {
  real power = 1.0L, square = 10.0L;
  for (; n > 0; n >>= 1) {
    if (n & 1) power *= square;
    if (n > 1) square *= square;
  }
  return power;
}

// A whole number of units of 10^exponent as the nearest real. Powers of ten are exact up to
// 10^27, so a quotient such as 3 / 10 is correctly rounded ("0.3"), where 3 * 0.1 need not be.
real Decimal(long long units, int exponent) {
  const real whole = static_cast<real>(units);
  const real power = PowerOfTen(std::abs(exponent));
  return exponent >= 0 ? whole * power : whole / power;
}

real ValueOf(Spacing s) { return Decimal(s.mantissa, s.exponent); }

Spacing Coarser(Spacing s) {
  if (s.mantissa == 1) return {2, s.exponent};
  if (s.mantissa == 2) return {5, s.exponent};
  return {1, s.exponent + 1};
}

bool CanCoarsen(Spacing s) { return std::isfinite(ValueOf(Coarser(s))); }

// floor(log10 rough) or one less, from the binary exponent b of rough (positive, finite,
// normal): 2^b <= rough < 2^(b + 1) puts log10 rough in [b log10 2, b log10 2 + 0.302). log10 2
// is taken to 15 digits, within 3e-12 of b log10 2 for every b of an extended real, and no such
// b brings b log10 2 that close to a whole number (the nearest, b = 13301, stays 2.7e-5 away).
int DecadeAtMost(real rough) {
  constexpr long long Log10Of2Scaled = 301029995663981LL;  // log10 2 times 10^15
  constexpr long long Scale = 1000000000000000LL;
  const long long scaled = static_cast<long long>(std::ilogb(rough)) * Log10Of2Scaled;
  const long long quotient = scaled / Scale;
  return static_cast<int>(scaled % Scale < 0 ? quotient - 1 : quotient);
}

// The smallest of 1, 2, 5 times a power of ten that is at least `rough` (positive, finite,
// normal), or the largest finite one below it. The decade may be one too low: three coarser
// steps make that good.
Spacing SpacingAtLeast(real rough) {
  Spacing s{1, DecadeAtMost(rough)};
  for (int n = 0; n < 4 && ValueOf(s) < rough * (1.0L - 1.0e-15L) && CanCoarsen(s); ++n) s = Coarser(s);
  return s;
}

// The range to show: an end that is not finite left out, a point widened by half its size each
// way (kept within the reals), a range narrower than LeastShare of its size widened to that
// around its middle. Halves keep every width within the reals.
Range Shown(real low, real high) {
  if (!std::isfinite(low)) low = high;
  if (!std::isfinite(high)) high = low;
  if (!std::isfinite(low)) return {0.0L, 1.0L};
  if (high < low) std::swap(low, high);
  if (high == low) {
    const real half = low == 0.0L ? 1.0L : std::fabs(low) / 2.0L;
    low = low < half - Largest ? -Largest : low - half;
    high = high > Largest - half ? Largest : high + half;
  }
  const real size = std::max(std::fabs(low), std::fabs(high));
  const real leastHalf = std::max(size * LeastShare, LeastWidth) / 2.0L;
  if (high / 2.0L - low / 2.0L >= leastHalf) return {low, high};
  const real middle = low / 2.0L + high / 2.0L;
  return {std::max(middle - leastHalf, -Largest), std::min(middle + leastHalf, Largest)};
}

// The finest spacing that parts the range into maxTicks - 1 steps; at most the largest real.
real Rough(Range r, int maxTicks) {
  const real halfStep = (r.high / 2.0L - r.low / 2.0L) / (maxTicks - 1);
  return halfStep > Largest / 2.0L ? Largest : 2.0L * halfStep;
}

TickRun Enclosing(Range r, Spacing s) {
  const real spacing = ValueOf(s);
  // A value within a billionth of a spacing of a tick counts as on it: 1 / 0.2 need not be 5.
  constexpr real Slack = 1.0e-9L;
  const real first = std::floor(r.low / spacing + Slack);
  const real last = std::ceil(r.high / spacing - Slack);
  if (!(std::fabs(first) < CountLimit && std::fabs(last) < CountLimit)) return {};
  return {static_cast<long long>(first), static_cast<long long>(last - first) + 1, true};
}

// round(units / power) in integers, halves away from zero.
long long Nearest(long long units, long long power) {
  const long long quotient = units / power;
  const long long remainder = units % power;
  if (2 * std::llabs(remainder) < power) return quotient;
  return quotient + (units < 0 ? -1 : 1);
}

// In units of the spacing's power of ten: 0, or the multiple nearest the ticks' middle of the
// least power of ten that spans them, where the ticks lie OffsetFrom spacings or more from zero.
// The widening keeps that multiple below 1E15 powers, so its label shows it whole.
long long OffsetUnits(Spacing s, long long first, long long last) {
  if (std::max(std::llabs(first), std::llabs(last)) < OffsetFrom) return 0;
  const long long span = (last - first) * s.mantissa;
  long long power = 1;
  while (power < span) power *= 10;
  return Nearest((first + last) / 2 * s.mantissa, power) * power;
}

ChartAxis Axis(Range shown, Spacing s, TickRun run, int maxTicks) {
  ChartAxis axis;
  axis.tick = ValueOf(s);
  axis.low = shown.low;
  axis.high = shown.high;
  if (!run.countable) return axis;
  const long long last = run.first + std::min<long long>(run.count, maxTicks) - 1;
  const long long offset = OffsetUnits(s, run.first, last);
  axis.offset = Decimal(offset, s.exponent);
  for (long long n = run.first; n <= last; ++n) {
    const real tick = Decimal(n * s.mantissa, s.exponent);
    if (!std::isfinite(tick)) continue;  // beyond the largest reals: the range ends at the data
    axis.ticks.push_back(tick);
    axis.labels.push_back(Decimal(n * s.mantissa - offset, s.exponent));
  }
  if (axis.ticks.empty()) return axis;
  axis.low = std::min(axis.low, axis.ticks.front());
  axis.high = std::max(axis.high, axis.ticks.back());
  return axis;
}

}  // namespace

ChartAxis NiceAxis(real low, real high, int maxTicks) {
  const FaultFlagsKept flags;  // an overflow near the largest reals is met here, not a fault of the run
  maxTicks = std::clamp(maxTicks, 2, MostTicks);
  const Range shown = Shown(low, high);
  Spacing spacing = SpacingAtLeast(Rough(shown, maxTicks));
  TickRun run = Enclosing(shown, spacing);
  // Every coarser spacing at least halves the count, so a few rounds reach maxTicks.
  for (int round = 0; round < 64 && (!run.countable || run.count > maxTicks) && CanCoarsen(spacing);
       ++round) {
    spacing = Coarser(spacing);
    run = Enclosing(shown, spacing);
  }
  return Axis(shown, spacing, run, maxTicks);
}

real ToPosition(const ChartAxis& axis, real value, int first, int last) {
  const FaultFlagsKept flags;
  const real share = (value / 2.0L - axis.low / 2.0L) / (axis.high / 2.0L - axis.low / 2.0L);
  const real kept = std::isnan(share) ? 0.0L : std::clamp(share, -1.0L, 2.0L);
  return first + kept * (last - first);
}

int ToPixel(const ChartAxis& axis, real value, int first, int last) {
  return Round(ToPosition(axis, value, first, last));
}

std::string AxisTitle(const std::string& names, const ChartAxis& axis, char separator) {
  if (axis.offset == 0.0L) return names;
  // A label reads the value less the offset.
  return names + (axis.offset < 0.0L ? " + " : " - ") + FormatReal(std::fabs(axis.offset), separator);
}

}  // namespace velmora
