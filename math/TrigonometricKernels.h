#pragma once
// The fast evaluations behind Sin, Cos and Atan2, open to the tests that measure their error.

#include <optional>

#include "math/ExtendedBits.h"
#include "math/WideArithmetic.h"

namespace velmora::math {

// sin x, or cos x where `cosine`, for 2^-20 <= |x| < 2^30, x given by its fields; nothing where
// the result lies below 2^-28, whose rounding the error of the reduction cannot decide.
std::optional<Wide> SinCosKernel(const ExtendedBits& x, bool cosine);

// atan2(y, x) for normal x and y given by their fields; nothing where their exponents lie more
// than 20 apart.
std::optional<Wide> ArcTangentKernel(const ExtendedBits& y, const ExtendedBits& x);

}  // namespace velmora::math
