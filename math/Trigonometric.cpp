#include "math/ExtendedBits.h"
#include "math/MpfrEvaluation.h"
#include "math/Transcendental.h"

// The sine, cosine and arc tangent are correctly rounded by MPFR for every argument. The program
// takes them a few times per drawn frame and per measurement, never in a step, so a fast path
// with its own error analysis (as for Exp and Log) would buy nothing that shows.

namespace velmora {

namespace {

// MPFR reads the bits of its argument: a pseudo-denormal (a denormal exponent with the integer
// bit set) is put in its normal form first, which multiplying by 1 does.
long double Canonical(long double x) { return math::BitsOf(x).Field() == 0 ? x * 1.0L : x; }

}  // namespace

long double Sin(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  if (b.NotFinite()) return b.Infinite() ? x - x : x + x;
  if (x == 0.0L) return x;
  return math::MpfrSin(Canonical(x));
}

long double Cos(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  if (b.NotFinite()) return b.Infinite() ? x - x : x + x;
  return math::MpfrCos(Canonical(x));
}

long double Atan2(long double y, long double x) {
  const math::ExtendedBits by = math::BitsOf(y), bx = math::BitsOf(x);
  if ((by.NotFinite() && !by.Infinite()) || (bx.NotFinite() && !bx.Infinite())) return y + x;
  return math::MpfrAtan2(Canonical(y), Canonical(x));
}

}  // namespace velmora
