#include "structure/Turn.h"

#include "math/Transcendental.h"

namespace velmora {

Turn TurnOfOrder(int n) {
  constexpr real TwoPi = 6.28318530717958647692528676655900577L;
  const real angle = TwoPi / static_cast<real>(n);
  return {Cos(angle), Sin(angle)};
}

}  // namespace velmora
