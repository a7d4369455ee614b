#pragma once
// The program's one scalar type and its 10-byte storage form.

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>

namespace velmora {

// Every physical and view quantity is an x87 80-bit extended value.
using real = long double;

static_assert(std::numeric_limits<real>::digits == 64 && LDBL_MAX_EXP == 16384 &&
                  std::numeric_limits<real>::is_iec559 && sizeof(real) >= 10,
              "velmora needs long double to be the x87 80-bit extended format");

constexpr int ExtendedBytes = 10;

// Documents keep a real as its 10 bytes, little-endian: the 64-bit significand with its
// explicit integer bit, then sign and biased exponent. On x86 that is the in-memory image.
inline void StoreExtended(unsigned char* bytes, real value) { std::memcpy(bytes, &value, ExtendedBytes); }

inline real LoadExtended(const unsigned char* bytes) {
  real value = 0.0L;  // the six bytes beyond the tenth are unused padding
  std::memcpy(&value, bytes, ExtendedBytes);
  return value;
}

// Two reals are interchangeable in every computation only when all ten bytes agree
// (+0 and -0, or two NaNs, compare equal or unequal by value but behave differently).
inline bool SameBits(real a, real b) { return std::memcmp(&a, &b, ExtendedBytes) == 0; }

// The biased exponent field of an extended value: 0 for zeros and denormals, all ones for
// infinities and NaNs. Read from the bits, it costs nothing next to a library call.
constexpr int ExponentBias = 16383;
constexpr int ExponentAllOnes = 0x7fff;

inline int ExponentField(real value) {
  std::uint16_t signAndExponent = 0;
  std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&value) + 8, sizeof signAndExponent);
  return signAndExponent & ExponentAllOnes;
}

// Whether a comparison takes the value without an invalid operation: every number and both
// infinities, but no NaN and none of the encodings that no arithmetic produces and the FPU
// refuses (unnormals, pseudo-infinities, pseudo-NaNs), which a document may hold.
inline bool IsComparable(real value) {
  std::uint64_t significand = 0;
  std::memcpy(&significand, &value, sizeof significand);
  const int field = ExponentField(value);
  if (field == 0) return true;                                   // zeros, denormals, pseudo-denormals
  if ((significand >> 63) == 0) return false;                    // no integer bit: refused
  if (field == ExponentAllOnes) return (significand << 1) == 0;  // infinity, not NaN
  return true;
}

}  // namespace velmora
