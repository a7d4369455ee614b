#pragma once
// The fast evaluation behind Sin and Cos, open to the tests that measure its error.

#include <optional>

#include "math/ExtendedBits.h"
#include "math/WideArithmetic.h"

namespace velmora::math {

// sin x, or cos x where `cosine`, for 2^-20 <= |x| < 2^30, x given by its fields; nothing where
// the result lies below 2^-28, whose rounding the error of the reduction cannot decide.
std::optional<Wide> SinCosKernel(const ExtendedBits& x, bool cosine);

}  // namespace velmora::math
