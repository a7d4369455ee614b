#include "sim/FastLaw.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "math/Transcendental.h"
#include "model/FloatingPointFaults.h"
#include "model/Power.h"
#include "sim/PairLaw.h"

namespace velmora {

namespace {

// Lower bounds of E x = (2.5 - x^20) / 0.1: for x < 1, and for x <= 0.8 where x^20 <= 0.0116.
constexpr real LeastEx = 15.0L;
constexpr real LeastExBelow08 = 24.8L;
constexpr real Ln2 = 0.693147180559945309417232121458176568L;

// The quick test works in doubles on values within 2^+-ScreenedBinades (see Screened).
constexpr int ScreenedBinades = 200;
constexpr double Log2e = 1.4426950408889634;
// Relative slack of the double bounds: it covers, many times over, every rounding of the
// double arithmetic below and every error of the extended evaluation it bounds (each below
// 1e-15 relative, the logarithms' below 1e-15 absolute per unit of |ln k| + |ln r| + 1).
constexpr double Slack = 1.0e-9;
// A threshold no |partial| reaches: the term is always evaluated.
constexpr real Never = std::numeric_limits<real>::quiet_NaN();
constexpr int LeastNormalExponent = 1 - ExponentBias;

// value with its exponent field replaced by the bias: the significand m, 1 <= m < 2.
real Significand(real value) {
  const std::uint16_t biased = ExponentBias;
  std::memcpy(reinterpret_cast<unsigned char*>(&value) + 8, &biased, sizeof biased);
  return value;
}

// Whether a computed value is positive and normal with its binary exponent within
// +-ScreenedBinades, read from its sign and exponent bits without touching the FPU.
bool Screened(real value) {
  std::uint16_t signAndExponent = 0;
  std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&value) + 8, sizeof signAndExponent);
  return signAndExponent >= ExponentBias - ScreenedBinades &&
         signAndExponent <= ExponentBias + ScreenedBinades;
}

// e with 2^e <= value < 2^(e + 1), for a positive normal double.
int BinaryExponent(double value) {
  return static_cast<int>(std::bit_cast<std::uint64_t>(value) >> 52) - 1023;
}

// 2^n as an extended value, LeastNormalExponent <= n <= ExponentBias, built from its bits.
real PowerOfTwo(int n) {
  const std::uint64_t significand = std::uint64_t{1} << 63;
  const std::uint16_t exponent = static_cast<std::uint16_t>(n + ExponentBias);
  unsigned char bytes[sizeof(real)] = {};
  std::memcpy(bytes, &significand, sizeof significand);
  std::memcpy(bytes + 8, &exponent, sizeof exponent);
  real value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

FastLaw::FastLaw(int threads)
    : distance_((SlotCount + 1) * (SlotCount + 1)), phi_((SlotCount + 1) * (SlotCount + 1)), pool_(threads) {}

// A screened k lies in [2^-200, 2^201); then 0.1 k, (0.1 k)^-1 and 200 k lie within 2^+-210
// and ln k within +-140: the double copies are normal numbers and their conversions and the
// logarithm raise no flag.
FastLaw::LengthConstants FastLaw::LengthConstantsOf(real k) {
  LengthConstants c{k,   LawWidth * k, Power(-1.0L, LawWidth * k), LawSlope * k, Screened(k), 0.0, 0.0,
                    0.0, 0.0};
  if (c.screened) {
    c.kD = static_cast<double>(c.k);
    c.lnKD = static_cast<double>(Log(c.k));
    c.inverseWidthKD = static_cast<double>(c.inverseWidthK);
    c.slopeKD = static_cast<double>(c.slopeK);
  }
  return c;
}

void FastLaw::Prepare(const Model& model, const LawSettings& law) {
  law_ = law;
  const real a = ContactFactor * Power(-1.0L, ContactBase);
  for (int g = 1; g <= GroupCount; ++g) {
    const GroupParameters p = ParametersOfGroup(model, g);
    const std::array<real, ShellTermCount> lengths = ShellLengths(p);
    GroupConstants& c = groups_[g];
    for (int t = 0; t < ShellTermCount; ++t) c.terms[t] = LengthConstantsOf(LawScale / lengths[t]);
    c.A = p.A;
    c.G = p.G;
    c.contactAGa = p.A * p.G * a;
    c.contactMinusAG = -a * p.G;
  }
  // Phi reads B..G, and A as well through the contact part. Equal bits give equal Phi.
  for (int a1 = 1; a1 <= GroupCount; ++a1)
    for (int b1 = 1; b1 <= GroupCount; ++b1) {
      const GroupParameters pa = ParametersOfGroup(model, a1);
      const GroupParameters pb = ParametersOfGroup(model, b1);
      sharesPhi_[a1][b1] = SameBits(pa.B, pb.B) && SameBits(pa.C, pb.C) && SameBits(pa.D, pb.D) &&
                           SameBits(pa.F, pb.F) && SameBits(pa.G, pb.G) &&
                           (!law.Functions3X1 || SameBits(pa.A, pb.A));
    }
}

// r^-2 exactly as Power(-2, r) forms it, exp(-2 ln r), with ln r kept for the double copies.
// A screened r lies in [2^-200, 2^201), so r^-2 lies within 2^+-402 and the copies are normal.
FastLaw::PairQuantities FastLaw::PairQuantitiesOf(real r) {
  const real lnR = Log(r);
  PairQuantities q{r, Exp(-2.0L * lnR), Screened(r), 0.0, 0.0, 0.0};
  if (q.screened) {
    q.rD = static_cast<double>(r);
    q.lnRD = static_cast<double>(lnR);
    q.rInverseSquareD = static_cast<double>(q.rInverseSquare);
  }
  return q;
}

// The quick test: the least |partial| (Phi so far) from which S_p = x^E [...] cannot change a
// bit of partial - S_p; 0 when S_p is exactly +0 whatever partial is; NaN (never reached) when
// it cannot tell. It needs only k and r, not partial, so it runs beside the chain of extended
// evaluations, and the decision itself is one comparison. With both k and r screened:
//
// 1. x = k r lies in [2^-400, 2^402]. The test goes on only for the double x < 0.99, so the
//    extended x is below 1 and ln x < -0.01. The double ln k + ln r is within
//    1e-15 (1 + |ln k| + |ln r|) of ln x (three roundings of doubles, the extended logarithms,
//    correctly rounded to within 2^-64 of themselves, and the conversions), and that sum is at
//    most 280: lnXAbove and lnXBelow, 1e-12 (...) away on either side, bound ln x and both are
//    negative.
// 2. xAbove bounds x; x^18 and x^20 are bounded from xAbove by four roundings and the relative
//    slack, an absolute 1e-300 covering their underflow. Both lie below 1, so the extended
//    2.5 - x^20 lies in [1.5, 2.5] and E = (2.5 - x^20) / (0.1 x) >= leastE > 0. As ln x < 0,
//    E ln x <= leastE lnXAbove, and exponentAbove bounds the extended product E ln x the
//    literal forms, so x^E <= exp(exponentAbove) (the extended exponential is correctly
//    rounded, within 2^-64 of itself, far inside the slack).
// 3. Both parts of the bracket are positive: (2.5 - x^20)(1 - ln x) r^-2 (0.1 k)^-1 and
//    -200 k x^18 ln x, so 0 < bracket <= bracketAbove (2.5 for the plateau, lnXBelow for ln x,
//    x18Above for x^18, the copies of r^-2, (0.1 k)^-1 and 200 k within one rounding).
//    bracketAbove lies in [2^-610, 2^620], a normal double, so bracketAbove < 2^(b + 1) with
//    b = BinaryExponent(bracketAbove).
// 4. If exponentAbove < -11500, the extended E ln x lies far below ln 2^-16446 = -11399.5, its
//    exponential rounds to +0, and S_p = +0 * bracket = +0: partial - (+0) is partial, bit for
//    bit and zero signs included, and the threshold is 0. Otherwise a leading term, which meets
//    a Phi of 0, is always evaluated.
// 5. Otherwise z = exponentAbove log2(e) lies in [-16600, 0), computed within 1e-11; truncated
//    towards zero it does not decrease, so n = trunc(z) + b + 67 >= z + b + 67 and
//    |S_p| < 2^(z + 1e-11) 2^(b + 1) < 2^(n - 65). The threshold is 2^n (raised to the least
//    normal power when n is below it). If |partial| >= 2^n, partial is normal with
//    2^e <= |partial| < 2^(e + 1) for some e >= n; the reals next to it are at least 2^(e - 64)
//    away, so |S_p| < 2^(e - 65) is below half that spacing and partial - S_p rounds back to
//    partial. An infinite partial stays infinite.
// 6. The evaluation that is skipped raises no flag: x lies in [2^-400, 1), so ln x, x^20, x^18
//    and (0.1 k r)^-1 <= 2^404 are finite, E ln x is finite, its exponential lies below 1, and
//    every product of the bracket is finite by the bounds of 3. The double arithmetic here stays
//    within 2^+-630 and raises none either (underflow and inexact results are no faults).
// The margins cost nothing in practice: S_p changes by many binades over a relative change of r
// far smaller than the slack.
real FastLaw::SkipThreshold(const LengthConstants& c, const PairQuantities& q, bool leading) {
  const double x = c.kD * q.rD;
  if (!(x < 0.99)) return Never;
  const double lnX = c.lnKD + q.lnRD;
  const double lnSlack = 1.0e-12 * (1.0 + std::fabs(c.lnKD) + std::fabs(q.lnRD));
  const double lnXAbove = lnX + lnSlack;
  const double lnXBelow = lnX - lnSlack;
  const double xAbove = x * (1.0 + Slack);
  const double x2 = xAbove * xAbove;
  const double x4 = x2 * x2;
  const double x16 = (x4 * x4) * (x4 * x4);
  const double x18Above = x16 * x2 * (1.0 + Slack) + 1.0e-300;
  const double x20Above = x16 * x4 * (1.0 + Slack) + 1.0e-300;
  const double leastE = (2.5 - x20Above) / (0.1 * xAbove) * (1.0 - Slack);
  const double exponentAbove = leastE * lnXAbove * (1.0 - Slack) + Slack;
  if (exponentAbove < -11500.0) return 0.0L;
  if (leading) return Never;
  const double bracketAbove =
      (2.5 * (1.0 - lnXBelow) * (q.rInverseSquareD * c.inverseWidthKD) - c.slopeKD * x18Above * lnXBelow) *
      (1.0 + Slack);
  const int n = static_cast<int>(exponentAbove * Log2e) + BinaryExponent(bracketAbove) + 67;
  return PowerOfTwo(std::max(n, LeastNormalExponent));
}

// The literal shell term with its shared quantities taken from outside: x^20, x^E and x^18 are
// exp(e ln x) with one ln x, and r^-2 (0.1 k)^-1 keeps its order of multiplication.
real FastLaw::ShellTerm(const LengthConstants& c, const PairQuantities& q) {
  const real lnX = Log(c.k * q.r);
  const real plateau = LawPlateau - Exp(LawSteepness * lnX);
  const real E = Power(-1.0L, c.widthK * q.r) * plateau;
  return Exp(E * lnX) * (plateau * (1.0L - lnX) * (q.rInverseSquare * c.inverseWidthK) -
                         c.slopeK * Exp(LawSteepness18 * lnX) * lnX);
}

// Whether a term cannot change a single bit of `partial`, Phi so far (-S_B - ... of the terms
// before it): by the quick test (SkipThreshold) when k and r are screened, otherwise by
// Negligible.
bool FastLaw::Skips(const LengthConstants& c, const PairQuantities& q, real threshold, real partial) const {
  const bool skips = c.screened && q.screened ? std::isgreaterequal(std::fabs(partial), threshold)
                                              : Negligible(c, c.k * q.r, q.rInverseSquare, partial);
  if (skips && audit_) audit_(c.k, q.r, partial);
  return skips;
}

// The test for k or r outside the quick test's range: whether S_p = x^E [...] is certain to
// leave Phi's bits unchanged, so that its exponentials and logarithms can be skipped. Write
// x = m 2^e with 1 <= m < 2, read from its bits; since 0 <= ln m <= m - 1,
// e ln 2 <= ln x <= (m - 1) + e ln 2, which bounds ln x without a logarithm.
// When that upper bound is negative, 0 < x < 1 and:
//   x^20 <= 1, so 2.5 - x^20 >= 1.5 and E >= 15 / x (24.8 / x when x <= 0.8, where x^20 < 0.0116);
//   with ln x < 0, E ln x <= (15 / x) (upper bound of ln x);
//   x^18 <= 1, so |bracket| <= 2.5 (1 + |ln x|) r^-2 (0.1 k)^-1 + 200 k |ln x|.
// Either x^E underflows to exactly zero (E ln x below ln of the least denormal, about -11399.5)
// and S_p is a zero, or |S_p| < 2^-66 |partial|, less than half the spacing of the reals next to
// Phi, so that partial - S_p rounds back to partial. A zero Phi of either sign adds nothing to a
// sum that starts at +0, so the sign of a skipped zero does not matter either. The bounds carry
// relative margins far above the error of every operation involved. The bracket bound is
// computed even when only the underflow applies: its products overflow whenever those of the
// literal term would, so a term that faults there still raises the flag.
bool FastLaw::Negligible(const LengthConstants& c, real x, real rInverseSquare, real partial) {
  const int xField = ExponentField(x);
  if (xField == 0 || xField == ExponentAllOnes || x < 1.0e-4000L) return false;
  const real e = static_cast<real>(xField - ExponentBias);
  const real lnXAbove = (Significand(x) - 1.0L) + e * Ln2 + 1.0e-12L;
  if (!(lnXAbove < 0.0L)) return false;
  const real lnXMagnitude = -(e * Ln2) + 1.0e-12L;
  const real leastEx = x <= 0.8L ? LeastExBelow08 : LeastEx;
  const real exponentBound = leastEx / x * lnXAbove * (1.0L - 1.0e-12L);
  const real bracketBound =
      (LawPlateau * (1.0L + lnXMagnitude) * (rInverseSquare * c.inverseWidthK) + c.slopeK * lnXMagnitude) *
      (1.0L + 1.0e-12L);
  const int bracketField = ExponentField(bracketBound);
  if (bracketField == ExponentAllOnes) return false;
  if (exponentBound < -11500.0L) return true;
  // For a normal partial, |partial| >= 2^(field - bias); the field of the bound, read the same
  // way, gives bracketBound < 2^(field - bias + 1) whether it is normal or not.
  const int partialField = ExponentField(partial);
  if (partialField == 0 || partialField == ExponentAllOnes) return false;
  const int spareBinades = partialField - bracketField - 68;
  return exponentBound < static_cast<real>(spareBinades) * Ln2 - 1.0L;
}

real FastLaw::ContactTerm(const GroupConstants& g, real r) const {
  if (r > g.G) return g.contactAGa * Power(-2.0L, r - g.G) * Exp(g.contactMinusAG / (r - g.G));
  return 0.0L;
}

// Phi = -S_B - S_C - S_D - S_F - S_G, or -S_B - S_C - S_D - S_F + K. A term that is skipped
// leaves phi as it is, which is what phi - S_p gives (and -S_B: a skipped leading term is a
// zero, and the sign of a zero Phi does not matter, see Negligible).
real FastLaw::Phi(int group, const PairQuantities& q) const {
  const GroupConstants& g = groups_[group];
  const int shells = ShellTermsSummed(law_);
  // The thresholds first: they do not wait for Phi so far and run beside its chain. The leading
  // term meets a Phi of 0, which only a vanishing term leaves unchanged.
  std::array<real, ShellTermCount> thresholds;
  for (int t = 0; t < shells; ++t)
    thresholds[t] = g.terms[t].screened && q.screened ? SkipThreshold(g.terms[t], q, t == 0) : Never;
  real phi = Skips(g.terms[0], q, thresholds[0], 0.0L) ? -0.0L : -ShellTerm(g.terms[0], q);
  for (int t = 1; t < shells; ++t)
    if (!Skips(g.terms[t], q, thresholds[t], phi)) phi = phi - ShellTerm(g.terms[t], q);
  if (law_.Functions3X1) return phi + ContactTerm(g, q.r);
  return phi;
}

// Distance and Phi of every pair that some target needs, each unordered pair once.
// (X[a] - X[b])^2 and (X[b] - X[a])^2 are the same bits, so r serves both slots.
void FastLaw::FormPairs(const Model& model, const SlotArray<bool>& targets, int firstRow, int lastRow) {
  const int n = model.N;
  for (int a = firstRow; a <= lastRow; ++a) {
    for (int b = a + 1; b <= n; ++b) {
      bool aNeedsB = targets[a] && model.Present[b];
      bool bNeedsA = targets[b] && model.Present[a];
      if (!aNeedsB && !bNeedsA) continue;
      const real dx = model.X[a] - model.X[b];
      const real dy = model.Y[a] - model.Y[b];
      const real dz = model.Z[a] - model.Z[b];
      const real r = std::sqrt(dx * dx + dy * dy + dz * dz);
      Distance(a, b) = r;
      Distance(b, a) = r;
      aNeedsB = aNeedsB && !SkipsCoincidentPartner(model.Present[a], r);
      bNeedsA = bNeedsA && !SkipsCoincidentPartner(model.Present[b], r);
      if (!aNeedsB && !bNeedsA) continue;
      const PairQuantities q = PairQuantitiesOf(r);
      const int ga = GroupOf(n, a);
      const int gb = GroupOf(n, b);
      if (aNeedsB) PhiOf(a, b) = Phi(gb, q);
      if (bNeedsA) PhiOf(b, a) = (aNeedsB && sharesPhi_[ga][gb]) ? PhiOf(a, b) : Phi(ga, q);
    }
  }
}

// Each slot's sum in partner order 1..N, each contribution formed as the literal law forms it.
void FastLaw::SumContributions(const Model& model, const SlotArray<bool>& targets, int first, int last,
                               SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az) const {
  const int n = model.N;
  for (int i = first; i <= last; ++i) {
    if (!targets[i]) continue;
    real sumX = 0.0L, sumY = 0.0L, sumZ = 0.0L;
    for (int j = 1; j <= n; ++j) {
      if (!model.Present[j] || j == i) continue;
      const real sign = static_cast<real>(PairSign(i, j, law_.Taoscope));
      const real r = Distance(i, j);
      if (SkipsCoincidentPartner(model.Present[i], r)) continue;
      const real A = groups_[GroupOf(n, j)].A;
      const real phi = PhiOf(i, j);
      sumX = sumX + (sign * (model.X[i] - model.X[j]) / r * A) * phi;
      sumY = sumY + (sign * (model.Y[i] - model.Y[j]) / r * A) * phi;
      sumZ = sumZ + (sign * (model.Z[i] - model.Z[j]) / r * A) * phi;
    }
    ax[i] = sumX;
    ay[i] = sumY;
    az[i] = sumZ;
  }
}

bool FastLaw::Accelerations(const Model& model, const SlotArray<bool>& targets, SlotArray<real>& ax,
                            SlotArray<real>& ay, SlotArray<real>& az) {
  const int n = model.N;
  nextChunk_.store(1, std::memory_order_relaxed);
  bool faulted = pool_.Run([&](int) {
    for (int first; (first = nextChunk_.fetch_add(RowsPerChunk, std::memory_order_relaxed)) <= n;)
      FormPairs(model, targets, first, std::min(first + RowsPerChunk - 1, n));
  });
  nextChunk_.store(1, std::memory_order_relaxed);
  faulted = pool_.Run([&](int) {
    for (int first; (first = nextChunk_.fetch_add(SlotsPerChunk, std::memory_order_relaxed)) <= n;)
      SumContributions(model, targets, first, std::min(first + SlotsPerChunk - 1, n), ax, ay, az);
  }) || faulted;
  return faulted || FaultFlagged();
}

void EveryAcceleration(FastLaw& fast, const Model& m, const LawSettings& law, SlotArray<real>& ax,
                       SlotArray<real>& ay, SlotArray<real>& az) {
  SlotArray<bool> every{};
  for (int i = 1; i <= m.N; ++i) every[i] = true;
  ClearFaultFlags();
  fast.Prepare(m, law);
  if (!fast.Accelerations(m, every, ax, ay, az)) return;
  for (int i = 1; i <= m.N; ++i) ForceX(m, law, i), ForceY(m, law, i), ForceZ(m, law, i);
  ThrowIfFaulted();
}

}  // namespace velmora
