#pragma once
// What the functions of math/Transcendental.h are checked against: the value MPFR computes to
// 192 bits, rounded once to the nearest extended real by mpfr_get_ld (subnormals included), so
// independent of the extended exponent range the module sets; and the arguments they are checked
// on, drawn from the whole domain and from the ranges the program uses.

#include <mpfr.h>
#include <stdint.h>  // before mpfr.h, for mpfr_set_uj

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <string>

#include "math/Transcendental.h"

namespace velmora::reference {

inline long double Rounded(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), long double x) {
  MPFR_DECL_INIT(a, 192);
  MPFR_DECL_INIT(r, 192);
  mpfr_set_ld(a, x, MPFR_RNDN);
  f(r, a, MPFR_RNDN);
  return mpfr_get_ld(r, MPFR_RNDN);
}

inline long double Atan2Rounded(long double y, long double x) {
  MPFR_DECL_INIT(a, 192);
  MPFR_DECL_INIT(b, 192);
  MPFR_DECL_INIT(r, 192);
  mpfr_set_ld(a, y, MPFR_RNDN);
  mpfr_set_ld(b, x, MPFR_RNDN);
  mpfr_atan2(r, a, b, MPFR_RNDN);
  return mpfr_get_ld(r, MPFR_RNDN);
}

// |approximation - exact| in units of 2^exponent, for the error bounds of the fast paths: the
// approximation is significand 2^exponent, the significand given by its two 64-bit halves, and
// `exact(r)` sets r to the exact value.
template <class Exact>
double ErrorInUnits(std::uint64_t high, std::uint64_t low, int exponent, bool negative, Exact exact) {
  MPFR_DECL_INIT(value, 192);
  MPFR_DECL_INIT(approximation, 192);
  MPFR_DECL_INIT(part, 192);
  exact(value);
  mpfr_set_uj(approximation, high, MPFR_RNDN);
  mpfr_mul_2ui(approximation, approximation, 64, MPFR_RNDN);
  mpfr_set_uj(part, low, MPFR_RNDN);
  mpfr_add(approximation, approximation, part, MPFR_RNDN);
  if (negative) mpfr_neg(approximation, approximation, MPFR_RNDN);
  mpfr_mul_2si(value, value, -exponent, MPFR_RNDN);
  mpfr_sub(approximation, approximation, value, MPFR_RNDN);
  return std::fabs(mpfr_get_d(approximation, MPFR_RNDN));
}

inline bool SameBits(long double a, long double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, 10) == 0;
}

// A finite extended real with uniformly random bits (a canonical encoding: integer bit set
// exactly when the exponent field is not 0).
inline long double RandomFinite(std::mt19937_64& rng) {
  for (;;) {
    std::uint64_t significand = rng();
    const std::uint16_t top = static_cast<std::uint16_t>(rng());
    const unsigned field = top & 0x7fffU;
    if (field == 0x7fffU) continue;
    significand = field == 0 ? significand & ~(1ULL << 63) : significand | (1ULL << 63);
    long double x = 0.0L;
    std::memcpy(&x, &significand, 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&x) + 8, &top, 2);
    return x;
  }
}

// A real uniform in [lo, hi] carrying all 64 bits.
inline long double Uniform(std::mt19937_64& rng, long double lo, long double hi) {
  const long double unit = static_cast<long double>(rng()) * 0x1p-64L;
  return lo + (hi - lo) * unit;
}

// The arguments of one function: `kind` runs over the families below, so that a sample of any
// size covers each of them.
enum class Function { Exp, Log, Sin, Cos, Atan2 };

struct Argument {
  long double x;
  long double y;  // Atan2's first argument
};

inline constexpr int Families = 6;

inline const char* FamilyName(Function f, int family) {
  static const char* const exp[] = {"random bits",     "the law's exponents [-60, 10]",
                                    "[-11400, 11357]", "near overflow and the subnormal results",
                                    "[-1, 1]",         "tiny |x|"};
  static const char* const log[] = {"random bits",    "the law's x [0.05, 20]",
                                    "|x - 1| < 2^-8", "x - 1 a few ulps",
                                    "subnormal x",    "[2^-200, 2^200]"};
  static const char* const trig[] = {"random bits",
                                     "the view's angles [-7, 7]",
                                     "near multiples of pi/2",
                                     "2^-20 <= |x| < 2^64",
                                     "|x| < 2^-20",
                                     "huge |x|"};
  static const char* const atan[] = {"random bits", "measurement vectors", "x near 0",
                                     "y near 0",    "subnormal y/x",       "equal magnitudes"};
  switch (f) {
    case Function::Exp:
      return exp[family];
    case Function::Log:
      return log[family];
    case Function::Atan2:
      return atan[family];
    default:
      return trig[family];
  }
}

inline Argument Draw(std::mt19937_64& rng, Function f, int family) {
  const long double sign = (rng() & 1) ? 1.0L : -1.0L;
  switch (f) {
    case Function::Exp:
      switch (family) {
        case 0:
          return {RandomFinite(rng), 0};
        case 1:
          return {Uniform(rng, -60.0L, 10.0L), 0};
        case 2:
          return {Uniform(rng, -11400.0L, 11357.0L), 0};
        case 3:
          return {(rng() & 1) ? Uniform(rng, 11355.0L, 11356.6L) : Uniform(rng, -11400.0L, -11354.0L), 0};
        case 4:
          return {Uniform(rng, -1.0L, 1.0L), 0};
        default:
          return {sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), -static_cast<int>(rng() % 80)), 0};
      }
    case Function::Log:
      switch (family) {
        case 0:
          return {std::fabs(RandomFinite(rng)), 0};
        case 1:
          return {std::exp(static_cast<long double>(Uniform(rng, -3.0L, 3.0L))), 0};
        case 2:
          return {1.0L + Uniform(rng, -0x1p-8L, 0x1p-8L), 0};
        case 3:
          return {1.0L + sign * static_cast<long double>(1 + rng() % 64) * 0x1p-64L, 0};
        case 4:
          return {std::ldexp(Uniform(rng, 0.0L, 1.0L), -16382), 0};
        default:
          return {std::ldexp(Uniform(rng, 1.0L, 2.0L), static_cast<int>(rng() % 401) - 200), 0};
      }
    case Function::Atan2:
      switch (family) {
        case 0:
          return {RandomFinite(rng), RandomFinite(rng)};
        case 1:
          return {Uniform(rng, -30.0L, 30.0L), Uniform(rng, -30.0L, 30.0L)};
        case 2:
          return {Uniform(rng, -2.0L, 2.0L),
                  sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), -static_cast<int>(rng() % 90))};
        case 3:
          return {sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), -static_cast<int>(rng() % 90)),
                  Uniform(rng, -2.0L, 2.0L)};
        case 4:
          return {std::ldexp(Uniform(rng, 1.0L, 2.0L), -16400), sign * Uniform(rng, 1.0L, 1e30L)};
        default: {
          const long double a = Uniform(rng, -100.0L, 100.0L);
          return {a, sign * a * (1.0L + Uniform(rng, -0x1p-40L, 0x1p-40L))};
        }
      }
    default:
      switch (family) {
        case 0:
          return {RandomFinite(rng), 0};
        case 1:
          return {Uniform(rng, -7.0L, 7.0L), 0};
        case 2: {
          const long double k = static_cast<long double>(static_cast<long>(rng() % 2000001) - 1000000);
          const long double offset =
              sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), -1 - static_cast<int>(rng() % 64));
          return {k * (std::numbers::pi_v<long double> / 2.0L) + offset, 0};
        }
        case 3:
          return {sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), static_cast<int>(rng() % 84) - 20), 0};
        case 4:
          return {sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), -20 - static_cast<int>(rng() % 60)), 0};
        default:
          return {sign * std::ldexp(Uniform(rng, 1.0L, 2.0L), 64 + static_cast<int>(rng() % 16319)), 0};
      }
  }
}

// The module's result, the fault flags it raised from clear flags, and MPFR's result.
struct Results {
  long double got;
  int faults;
  long double expected;
};

inline long double Module(Function f, Argument a) {
  switch (f) {
    case Function::Exp:
      return Exp(a.x);
    case Function::Log:
      return Log(a.x);
    case Function::Sin:
      return Sin(a.x);
    case Function::Cos:
      return Cos(a.x);
    default:
      return Atan2(a.y, a.x);
  }
}

inline Results Evaluate(Function f, Argument a) {
  std::feclearexcept(FE_ALL_EXCEPT);
  const long double got = Module(f, a);
  const int faults = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  switch (f) {
    case Function::Exp:
      return {got, faults, Rounded(mpfr_exp, a.x)};
    case Function::Log:
      return {got, faults, Rounded(mpfr_log, a.x)};
    case Function::Sin:
      return {got, faults, Rounded(mpfr_sin, a.x)};
    case Function::Cos:
      return {got, faults, Rounded(mpfr_cos, a.x)};
    default:
      return {got, faults, Atan2Rounded(a.y, a.x)};
  }
}

inline const char* NameOf(Function f) {
  static const char* const names[] = {"Exp", "Log", "Sin", "Cos", "Atan2"};
  return names[static_cast<int>(f)];
}

}  // namespace velmora::reference
