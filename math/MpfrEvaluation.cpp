#include "math/MpfrEvaluation.h"

#include <mpfr.h>

#include <cfenv>
#include <cfloat>
#include <cmath>

namespace velmora::math {

namespace {

constexpr mpfr_prec_t Precision = 64;
// MPFR writes a number as m 2^e with 1/2 <= m < 1: the largest extended real is
// (1 - 2^-64) 2^16384 and the least denormal 2^-16445 = 1/2 2^-16444.
constexpr mpfr_exp_t LeastExponent = -16444;
constexpr mpfr_exp_t GreatestExponent = 16384;

// MPFR's exponent range for extended reals while it lives, the caller's range (of this
// thread) again afterwards; the FPU flags as they were, whatever MPFR's own arithmetic raised.
class ExtendedRange {
 public:
  ExtendedRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
    std::fegetexceptflag(&flags_, FE_ALL_EXCEPT);
    mpfr_set_emin(LeastExponent);
    mpfr_set_emax(GreatestExponent);
  }
  ~ExtendedRange() {
    mpfr_set_emin(emin_);
    mpfr_set_emax(emax_);
    std::fesetexceptflag(&flags_, FE_ALL_EXCEPT);
  }
  ExtendedRange(const ExtendedRange&) = delete;
  ExtendedRange& operator=(const ExtendedRange&) = delete;

 private:
  mpfr_exp_t emin_, emax_;
  std::fexcept_t flags_;
};

// The result of a correctly rounded MPFR evaluation with its ternary value, rounded once more
// into the subnormal range where it lies there, and the flags of an IEEE function for it.
long double Finish(mpfr_ptr result, int ternary, bool finiteArguments) {
  long double value = 0.0L;
  {
    const ExtendedRange range;
    ternary = mpfr_check_range(result, ternary, MPFR_RNDN);
    ternary = mpfr_subnormalize(result, ternary, MPFR_RNDN);
    value = mpfr_get_ld(result, MPFR_RNDN);
  }
  int flags = ternary != 0 ? FE_INEXACT : 0;
  if (ternary != 0 && std::fabs(value) < LDBL_MIN) flags |= FE_UNDERFLOW;
  if (finiteArguments && std::isinf(value)) flags |= FE_OVERFLOW;
  if (flags != 0) std::feraiseexcept(flags);
  return value;
}

long double Evaluate(int (*function)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), long double x) {
  MPFR_DECL_INIT(argument, Precision);
  MPFR_DECL_INIT(result, Precision);
  int ternary = 0;
  {
    const ExtendedRange range;
    mpfr_set_ld(argument, x, MPFR_RNDN);
    ternary = function(result, argument, MPFR_RNDN);
  }
  return Finish(result, ternary, std::isfinite(x));
}

}  // namespace

long double MpfrExp(long double x) { return Evaluate(mpfr_exp, x); }
long double MpfrLog(long double x) { return Evaluate(mpfr_log, x); }
long double MpfrSin(long double x) { return Evaluate(mpfr_sin, x); }
long double MpfrCos(long double x) { return Evaluate(mpfr_cos, x); }

long double MpfrAtan2(long double y, long double x) {
  MPFR_DECL_INIT(first, Precision);
  MPFR_DECL_INIT(second, Precision);
  MPFR_DECL_INIT(result, Precision);
  int ternary = 0;
  {
    const ExtendedRange range;
    mpfr_set_ld(first, y, MPFR_RNDN);
    mpfr_set_ld(second, x, MPFR_RNDN);
    ternary = mpfr_atan2(result, first, second, MPFR_RNDN);
  }
  return Finish(result, ternary, false);
}

}  // namespace velmora::math
