#pragma once
// The last resort of the functions of Transcendental.h: f(x) (or f(y, x)) correctly rounded by
// MPFR at 64 bits in the exponent range of extended reals, subnormals included, for the
// arguments whose rounding the fast evaluations cannot decide (and for every argument of the
// trigonometric functions). The FPU flags are those of an IEEE function: inexact, underflow for
// a tiny inexact result and overflow for an infinite result of finite arguments, and no other.

namespace velmora::math {

long double MpfrExp(long double x);
long double MpfrLog(long double x);
long double MpfrSin(long double x);
long double MpfrCos(long double x);
long double MpfrAtan2(long double y, long double x);

}  // namespace velmora::math
