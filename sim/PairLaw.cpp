#include "sim/PairLaw.h"

#include <array>
#include <cmath>

#include "math/Transcendental.h"
#include "model/CheckedReal.h"
#include "model/Power.h"

namespace velmora {

namespace {

template <class Number>
using LengthConstants = std::array<std::array<Number, ShellTermCount>, GroupCount + 1>;

// The law is written for real, the program's way, and for CheckedReal, which repeats a pair that
// faulted to name the fault met first (see FirstFaultIn). That order is the order the formulas
// are written in, left to right, so each statement below does one operation; the bits are those
// of the formulas in any order.

// S_p = dU_p/dr for the shell potential U_p(r) = x^E, with x = k r and
// E = (2.5 - x^20) / (0.1 x), formed as (0.1 k r)^-1 (2.5 - x^20):
//   S_p = x^E [ (2.5 - x^20)(1 - ln x) / (0.1 k r^2) - 200 k x^18 ln x ].
// The bracket is evaluated in this order, and the fast evaluation keeps it:
//   ((2.5 - x^20) * (1 - ln x)) * (r^-2 * (0.1 k)^-1)  -  ((200 * k) * x^18) * ln x.
// As written, x^20, ln x and 0.1 k are formed twice.
template <class Number>
Number ShellTerm(Number k, Number r) {
  const Number x = k * r;
  const Number widthK = LawWidth * k;
  const Number widthKR = widthK * r;
  const Number inverseWidthKR = Power(-1.0L, widthKR);
  const Number x20 = Power(LawSteepness, x);
  const Number plateau = LawPlateau - x20;
  const Number E = inverseWidthKR * plateau;
  const Number xE = Power(E, x);

  const Number x20Again = Power(LawSteepness, x);
  const Number plateauAgain = LawPlateau - x20Again;
  const Number lnX = Log(x);
  const Number oneMinusLnX = 1.0L - lnX;
  const Number rising = plateauAgain * oneMinusLnX;
  const Number rInverseSquare = Power(-2.0L, r);
  const Number widthKAgain = LawWidth * k;
  const Number inverseWidthK = Power(-1.0L, widthKAgain);
  const Number reciprocal = rInverseSquare * inverseWidthK;
  const Number first = rising * reciprocal;
  const Number slopeK = LawSlope * k;
  const Number x18 = Power(LawSteepness18, x);
  const Number slopeKX18 = slopeK * x18;
  const Number lnXAgain = Log(x);
  const Number second = slopeKX18 * lnXAgain;
  const Number bracket = first - second;
  return xE * bracket;
}

// K = A G a (r - G)^-2 exp(-a G / (r - G)) with a = 0.5 * 2.72^-1: A times the derivative of
// exp(-a G / (r - G)), zero up to r = G. The exponential is taken directly, not through Power.
template <class Number>
Number ContactTerm(Number A, Number G, Number r) {
  const Number inverseBase = Power(-1.0L, ContactBase);
  const Number a = ContactFactor * inverseBase;
  if (!(r > G)) return 0.0L;
  const Number AG = A * G;
  const Number AGa = AG * a;
  const Number gap = r - G;
  const Number gapInverseSquare = Power(-2.0L, gap);
  const Number factor = AGa * gapInverseSquare;
  const Number minusA = -a;
  const Number minusAG = minusA * G;
  const Number gapAgain = r - G;
  const Number exponent = minusAG / gapAgain;
  const Number decay = Exp(exponent);
  return factor * decay;
}

// k_p = 1.0256 / p for all fifteen length parameters, used by a partner's group or not.
template <class Number>
LengthConstants<Number> LengthScales(const Model& model) {
  LengthConstants<Number> k{};
  for (int g = 1; g <= GroupCount; ++g) {
    const std::array<real, ShellTermCount> lengths = ShellLengths(ParametersOfGroup(model, g));
    for (int t = 0; t < ShellTermCount; ++t) k[g][t] = Number(LawScale) / lengths[t];
  }
  return k;
}

// Phi = -S_B - S_C - S_D - S_F - S_G, or with the contact part -S_B - S_C - S_D - S_F + K.
template <class Number>
Number Phi(const std::array<real, ShellTermCount>& k, const GroupParameters& p, Number r,
           const LawSettings& law) {
  const Number shellB = ShellTerm<Number>(k[0], r);
  Number phi = -shellB;
  for (int t = 1; t < ShellTermCount - 1; ++t) {
    const Number shell = ShellTerm<Number>(k[t], r);
    phi = phi - shell;
  }
  if (law.Functions3X1) {
    const Number contact = ContactTerm<Number>(p.A, p.G, r);
    return phi + contact;
  }
  const Number shellG = ShellTerm<Number>(k[ShellTermCount - 1], r);
  return phi - shellG;
}

using Coordinates = SlotArray<real> Model::*;

// sum + (sign (q_i - q_j) / r A_g) Phi for partner j, or sum where j takes nothing.
template <class Number>
Number WithPartner(const Model& m, const LawSettings& law, const LengthConstants<real>& k, int i, int j,
                   Coordinates axis, Number sum) {
  using std::sqrt;
  const Number dx = Number(m.X[i]) - m.X[j];
  const Number dxSquared = dx * dx;
  const Number dy = Number(m.Y[i]) - m.Y[j];
  const Number dySquared = dy * dy;
  const Number xy = dxSquared + dySquared;
  const Number dz = Number(m.Z[i]) - m.Z[j];
  const Number dzSquared = dz * dz;
  const Number squares = xy + dzSquared;
  const Number r = sqrt(squares);
  if (SkipsCoincidentPartner(m.Present[i], static_cast<real>(r))) return sum;
  const int g = GroupOf(m.N, j);
  const GroupParameters p = ParametersOfGroup(m, g);
  const Number phi = Phi<Number>(k[g], p, r, law);
  const SlotArray<real>& q = m.*axis;
  const Number dq = Number(q[i]) - q[j];
  const Number signedDq = static_cast<real>(PairSign(i, j, law.Taoscope)) * dq;
  const Number perR = signedDq / r;
  const Number scaled = perR * p.A;
  const Number contribution = scaled * phi;
  return sum + contribution;
}

// The flags are looked at once for the constants and once per pair.
real Force(const Model& model, const LawSettings& law, int i, Coordinates axis) {
  const LengthConstants<real> k =
      FirstFaultIn([&](auto zero) { return LengthScales<decltype(zero)>(model); });
  real sum = 0.0L;
  for (int j = 1; j <= model.N; ++j) {
    if (!model.Present[j] || j == i) continue;
    sum =
        FirstFaultIn([&](auto zero) { return WithPartner<decltype(zero)>(model, law, k, i, j, axis, sum); });
  }
  return sum;
}

}  // namespace

real ShellTerm(real k, real r) { return ShellTerm<real>(k, r); }

int PairSign(int i, int j, bool taoscope) {
  const int t = taoscope ? 1 : -1;
  const int parity = ((i - j) % 2 == 0) ? 1 : -t;
  return parity * t;
}

real ForceX(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::X); }
real ForceY(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::Y); }
real ForceZ(const Model& model, const LawSettings& law, int i) { return Force(model, law, i, &Model::Z); }

}  // namespace velmora
