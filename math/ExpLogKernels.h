#pragma once
// The fast evaluations behind Exp and Log, open to the tests that measure their error.

#include "math/ExtendedBits.h"
#include "math/WideArithmetic.h"

namespace velmora::math {

// exp(x) for 2^-66 <= |x| < 2^14, x given by its fields.
Wide ExpKernel(const ExtendedBits& x);

// ln x for a finite x > 0 other than 1, given by its fields.
Wide LogKernel(ExtendedBits x);

// Whether every value within w's error rounds to the same extended real, which is then `rounded`
// (an infinity where it lies beyond the largest real). Needs a normal result.
inline bool RoundsDecidedly(const Wide& w, long double& rounded) {
  std::uint64_t significand = static_cast<std::uint64_t>(w.significand >> 64);
  const std::uint64_t rest = static_cast<std::uint64_t>(w.significand);
  constexpr std::uint64_t Half = 1ULL << 63;
  if (rest > Half - w.errorUnits && rest < Half + w.errorUnits) return false;
  int field = w.exponent + 127 + Bias;
  if (rest > Half && ++significand == 0) {
    significand = IntegerBit;
    ++field;
  }
  const unsigned sign = w.negative ? 0x8000U : 0U;
  rounded = field >= static_cast<int>(ExponentMask)
                ? FromBits(IntegerBit, sign | ExponentMask)
                : FromBits(significand, sign | static_cast<unsigned>(field));
  return true;
}

}  // namespace velmora::math
