#include "view/ColourMap.h"

#include <cmath>

namespace velmora {

namespace {

constexpr Colour ViridisSteps[] = {{68, 1, 84},    {72, 40, 120},  {62, 73, 137},  {49, 104, 142},
                                   {38, 130, 142}, {31, 158, 137}, {53, 183, 121}, {110, 206, 88},
                                   {181, 222, 43}, {253, 231, 37}};
constexpr int LastStep = 9;

int Between(int a, int b, real f) { return static_cast<int>(std::lround(a + (b - a) * f)); }

}  // namespace

Colour Viridis(real t) {
  if (!(t > 0.0L)) t = 0.0L;
  if (t > 1.0L) t = 1.0L;
  const real position = t * LastStep;
  const int low = position >= LastStep ? LastStep - 1 : static_cast<int>(position);
  const real f = position - low;
  const Colour& a = ViridisSteps[low];
  const Colour& b = ViridisSteps[low + 1];
  return {Between(a.Red, b.Red, f), Between(a.Green, b.Green, f), Between(a.Blue, b.Blue, f)};
}

real RangeFraction(real value, real least, real greatest) {
  if (!(greatest > least)) return 0.5L;
  return (value - least) / (greatest - least);
}

}  // namespace velmora
