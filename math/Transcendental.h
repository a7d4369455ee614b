#pragma once
// The program's exponential, logarithm, sine, cosine and arc tangent of extended reals, each
// correctly rounded: the result is the exact value rounded to the nearest extended real (ties
// to even), subnormal results included. They are computed with the operations IEEE 754 defines
// exactly (+, -, x, / and conversions) and, for the rare argument whose rounding those cannot
// decide, with MPFR; so the bits are the same on every x86-64 processor and can be reproduced
// independently. (The C library's expl and logl use x87 instructions whose last bits differ
// between makers and generations of processors.)
//
// Faults are raised as by an IEEE function, and nothing else of them: overflow when the rounded
// result overflows (Exp), division by zero for the logarithm of a zero, invalid for the logarithm
// of a number below zero, the sine and cosine of an infinity, a signalling NaN and the encodings
// that no arithmetic produces; a quiet NaN passes through without a flag. Inexact and underflow,
// which no fault rule reads, are not promised (the fast paths compute with integers). The
// rounding mode must be the default, to nearest.

namespace velmora {

long double Exp(long double x);
long double Log(long double x);
long double Sin(long double x);
long double Cos(long double x);
// The angle of the point (x, y) from the positive x axis, in [-pi, pi].
long double Atan2(long double y, long double x);

}  // namespace velmora
