#pragma once
// The fields of an x87 extended real: a 64-bit significand with an explicit integer bit, then
// 15 bits of exponent and the sign.

#include <cstdint>
#include <cstring>

namespace velmora::math {

inline constexpr int Bias = 16383;
inline constexpr unsigned ExponentMask = 0x7fff;
inline constexpr std::uint64_t IntegerBit = 0x8000000000000000ULL;

struct ExtendedBits {
  std::uint64_t significand;
  unsigned signAndExponent;

  unsigned Field() const { return signAndExponent & ExponentMask; }
  bool Negative() const { return (signAndExponent & 0x8000) != 0; }
  // Infinities, NaNs, and the encodings without an integer bit that the FPU refuses (unnormals,
  // pseudo-infinities, pseudo-NaNs): arithmetic on x itself gives the IEEE result for all but
  // the infinities.
  bool NotFinite() const {
    return Field() == ExponentMask || (Field() != 0 && (significand & IntegerBit) == 0);
  }
  bool Infinite() const { return Field() == ExponentMask && significand == IntegerBit; }
};

inline ExtendedBits BitsOf(const long double& x) {
  ExtendedBits b{};
  std::uint16_t top = 0;
  std::memcpy(&b.significand, &x, sizeof b.significand);
  std::memcpy(&top, reinterpret_cast<const unsigned char*>(&x) + 8, sizeof top);
  b.signAndExponent = top;
  return b;
}

inline long double FromBits(std::uint64_t significand, unsigned signAndExponent) {
  long double x = 0.0L;
  const std::uint16_t top = static_cast<std::uint16_t>(signAndExponent);
  std::memcpy(&x, &significand, sizeof significand);
  std::memcpy(reinterpret_cast<unsigned char*>(&x) + 8, &top, sizeof top);
  return x;
}

// 2^e for a normal power, -16382 <= e <= 16383.
inline long double PowerOfTwo(int e) { return FromBits(IntegerBit, static_cast<unsigned>(e + Bias)); }

}  // namespace velmora::math
