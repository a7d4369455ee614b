#include "sim/FastLaw.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "model/FloatingPointFaults.h"
#include "model/Power.h"
#include "sim/PairLaw.h"

namespace velmora {

namespace {

// Lower bounds of E x = (2.5 - x^20) / 0.1: for x < 1, and for x <= 0.8 where x^20 <= 0.0116.
constexpr real LeastEx = 15.0L;
constexpr real LeastExBelow08 = 24.8L;
constexpr real Ln2 = 0.693147180559945309417232121458176568L;
// value with its exponent field replaced by the bias: the significand m, 1 <= m < 2.
real Significand(real value) {
  const std::uint16_t biased = ExponentBias;
  std::memcpy(reinterpret_cast<unsigned char*>(&value) + 8, &biased, sizeof biased);
  return value;
}

}  // namespace

FastLaw::FastLaw(int threads)
    : distance_((SlotCount + 1) * (SlotCount + 1)), phi_((SlotCount + 1) * (SlotCount + 1)), pool_(threads) {}

void FastLaw::Prepare(const Model& model, const LawSettings& law) {
  law_ = law;
  const real a = ContactFactor * Power(-1.0L, ContactBase);
  for (int g = 1; g <= GroupCount; ++g) {
    const GroupParameters p = ParametersOfGroup(model, g);
    const std::array<real, 5> lengths = {p.B, p.C, p.D, p.F, p.G};
    GroupConstants& c = groups_[g];
    for (int t = 0; t < 5; ++t) {
      const real k = LawScale / lengths[t];
      c.terms[t] = {k, LawWidth * k, Power(-1.0L, LawWidth * k), LawSlope * k};
    }
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

// The literal shell term with its shared quantities taken from outside: x^20, x^E and x^18 are
// exp(e ln x) with one ln x, and r^-2 (0.1 k)^-1 keeps its order of multiplication.
// `partial` is Phi so far (-S_B - ... of the terms before this one); a term that cannot change
// it by a single bit is not evaluated (see Negligible).
real FastLaw::ShellTerm(const LengthConstants& c, real r, real rInverseSquare, real partial) const {
  const real x = c.k * r;
  if (Negligible(c, x, rInverseSquare, partial)) return 0.0L;
  const real lnX = std::log(x);
  const real plateau = LawPlateau - std::exp(LawSteepness * lnX);
  const real E = Power(-1.0L, c.widthK * r) * plateau;
  return std::exp(E * lnX) * (plateau * (1.0L - lnX) * (rInverseSquare * c.inverseWidthK) -
                              c.slopeK * std::exp(LawSteepness18 * lnX) * lnX);
}

// Whether S_p = x^E [...] is certain to leave Phi's bits unchanged, so that its exponentials and
// logarithms can be skipped. Write x = m 2^e with 1 <= m < 2, read from its bits; since
// 0 <= ln m <= m - 1, e ln 2 <= ln x <= (m - 1) + e ln 2, which bounds ln x without a logarithm.
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
  if (r > g.G) return g.contactAGa * Power(-2.0L, r - g.G) * std::exp(g.contactMinusAG / (r - g.G));
  return 0.0L;
}

real FastLaw::Phi(int group, real r) const {
  const GroupConstants& g = groups_[group];
  const real rInverseSquare = Power(-2.0L, r);
  real phi = -ShellTerm(g.terms[0], r, rInverseSquare, 0.0L);
  for (int t = 1; t < 4; ++t) phi = phi - ShellTerm(g.terms[t], r, rInverseSquare, phi);
  if (law_.Functions3X1) return phi + ContactTerm(g, r);
  return phi - ShellTerm(g.terms[4], r, rInverseSquare, phi);
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
      const int ga = GroupOf(n, a);
      const int gb = GroupOf(n, b);
      if (aNeedsB) PhiOf(a, b) = Phi(gb, r);
      if (bNeedsA) PhiOf(b, a) = (aNeedsB && sharesPhi_[ga][gb]) ? PhiOf(a, b) : Phi(ga, r);
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

std::vector<int> FastLaw::PairRowBlocks(int n) const {
  const int parts = pool_.Size();
  const long total = static_cast<long>(n) * (n - 1) / 2;
  std::vector<int> first(parts + 1, n + 1);
  first[0] = 1;
  long pairs = 0;
  int part = 1;
  for (int a = 1; a <= n && part < parts; ++a) {
    pairs += n - a;
    while (part < parts && pairs * parts >= total * part) first[part++] = a + 1;
  }
  return first;
}

bool FastLaw::Accelerations(const Model& model, const SlotArray<bool>& targets, SlotArray<real>& ax,
                            SlotArray<real>& ay, SlotArray<real>& az) {
  const int n = model.N;
  const int parts = pool_.Size();
  const std::vector<int> rows = PairRowBlocks(n);
  bool faulted = pool_.Run([&](int part) { FormPairs(model, targets, rows[part], rows[part + 1] - 1); });
  faulted = pool_.Run([&](int part) {
    const int first = 1 + n * part / parts;
    const int last = n * (part + 1) / parts;
    SumContributions(model, targets, first, last, ax, ay, az);
  }) || faulted;
  return faulted || FaultFlagged();
}

}  // namespace velmora
