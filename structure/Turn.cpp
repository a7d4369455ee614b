#include "structure/Turn.h"

#include <cmath>

namespace velmora {

Turn TurnOfOrder(int n) {
  constexpr real TwoPi = 6.28318530717958647692528676655900577L;
  const real angle = TwoPi / static_cast<real>(n);
  return {std::cos(angle), std::sin(angle)};
}

}  // namespace velmora
