#pragma once
// 128-bit fixed-point arithmetic for the fast paths of Exp and Log. The integer unit computes
// the same bits on every x86-64 processor, carries twice the significand of an extended real,
// and multiplies 64 by 64 bits in a few cycles: the approximations are formed here, and only
// their final rounding makes an extended real of them.

#include <cstdint>

namespace velmora::math {

using Unsigned128 = unsigned __int128;
using Signed128 = __int128;

struct Word {
  std::uint64_t high, low;
};

constexpr Unsigned128 Unsigned(Word w) { return (static_cast<Unsigned128>(w.high) << 64) | w.low; }
constexpr Signed128 Signed(Word w) { return static_cast<Signed128>(Unsigned(w)); }

// s u exactly, for a signed s and an unsigned u: one unsigned product, less u 2^64 where s < 0.
inline Signed128 MixedProduct(std::int64_t s, std::uint64_t u) {
  const Unsigned128 product = static_cast<Unsigned128>(static_cast<std::uint64_t>(s)) * u;
  return static_cast<Signed128>(product - (s < 0 ? static_cast<Unsigned128>(u) << 64 : 0));
}

// (a b) / 2^127 for |a|, |b| < 0.9 2^127, rounded down within 4 units: the low product of the
// two lower halves (below two units) is left out, and the two middle products are each rounded
// down before they are added.
inline Signed128 MultiplyHigh(Signed128 a, Signed128 b) {
  const std::int64_t ah = static_cast<std::int64_t>(a >> 64), bh = static_cast<std::int64_t>(b >> 64);
  const std::uint64_t al = static_cast<std::uint64_t>(a), bl = static_cast<std::uint64_t>(b);
  return 2 * (static_cast<Signed128>(ah) * bh) + (MixedProduct(ah, bl) >> 63) + (MixedProduct(bh, al) >> 63);
}

// (a b) / 2^128 for unsigned a and b, rounded down within 3 units in the same way.
inline Unsigned128 MultiplyHighUnsigned(Unsigned128 a, Unsigned128 b) {
  const Unsigned128 ah = a >> 64, bh = b >> 64;
  const Unsigned128 al = static_cast<std::uint64_t>(a), bl = static_cast<std::uint64_t>(b);
  return ah * bh + ((ah * bl) >> 64) + ((al * bh) >> 64);
}

// The number of leading zero bits of a nonzero a.
inline int LeadingZeros(Unsigned128 a) {
  const std::uint64_t high = static_cast<std::uint64_t>(a >> 64);
  return high != 0 ? __builtin_clzll(high) : 64 + __builtin_clzll(static_cast<std::uint64_t>(a));
}

// (-1)^negative significand 2^exponent, the significand with its top bit set, within
// errorUnits units of 2^exponent of the exact value it approximates.
struct Wide {
  Unsigned128 significand;
  int exponent;
  bool negative;
  std::uint64_t errorUnits;
};

// A nonzero magnitude times 2^exponent, normalised, its error in units of the magnitude's last
// place scaled with it.
inline Wide Normalised(Unsigned128 magnitude, int exponent, bool negative, std::uint64_t errorUnits) {
  const int shift = LeadingZeros(magnitude);
  return {magnitude << shift, exponent - shift, negative, errorUnits << shift};
}

}  // namespace velmora::math
