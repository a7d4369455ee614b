#pragma once

#include "math/Transcendental.h"
#include "model/Real.h"

namespace velmora {

// b raised to the power e, as exp(e * ln b): defined for b > 0 only. Every power of the pair
// law goes through it, reciprocals and r^-2 included, so that its bits are the program's bits.
inline real Power(real e, real b) { return Exp(e * Log(b)); }

}  // namespace velmora
