#include "sim/Observables.h"

#include <cmath>
#include <limits>

#include "math/Transcendental.h"
#include "model/FloatingPointFaults.h"
#include "model/Power.h"
#include "sim/PairLaw.h"

namespace velmora {

const std::array<const char*, QuantityCount> QuantityNames = {
    "kinetic", "potential", "total", "kinetic1", "kinetic2", "kinetic3", "gyration", "closest", "fastest"};

namespace {

// U(x) = x^E = exp(E ln x) depends on x alone: it rises from 0 to its peak just above x = 1
// and falls again, faster than any power, once x^20 > 2.5 makes E negative. E ln x falls below
// -80 ln 2 for x < 0.40618 and for x > 1.20085, so outside [0.4, 1.21] a term is below 2^-80
// and is not formed: with at most 4950 pairs of five terms that changes a potential by less
// than 2.1e-20 |A|, and it spares most of the logarithms and exponentials of a cloud.
constexpr real ShellReachLow = 0.4L;
constexpr real ShellReachHigh = 1.21L;

// The shell potential U_p(r) = x^E with x = k r and E = (2.5 - x^20) / (0.1 x), the function
// whose derivative S_p the law sums. Within the reach x^20 is formed by squaring, (x^5)^4, which
// is exact to a few units in the last place and costs far less than an exponential.
real ShellPotential(real k, real r) {
  const real x = k * r;
  if (std::isnan(x)) return x;  // a position that is no number shows in the potential
  if (x < ShellReachLow || x > ShellReachHigh) return 0.0L;
  const real x2 = x * x;
  const real x5 = x2 * x2 * x;
  const real x10 = x5 * x5;
  const real E = (LawPlateau - x10 * x10) / (LawWidth * x);
  return Exp(E * Log(x));
}

// One group's W(r), with its constants formed once per measurement: k_p = 1.0256 / p for the
// shell terms and a = 0.5 * 2.72^-1 for the contact part.
class GroupPotential {
 public:
  GroupPotential() = default;
  GroupPotential(const GroupParameters& p, const LawSettings& law)
      : A_(p.A),
        G_(p.G),
        a_(ContactFactor * Power(-1.0L, ContactBase)),
        shells_(ShellTermsSummed(law)),
        contact_(law.Functions3X1) {
    const std::array<real, ShellTermCount> lengths = ShellLengths(p);
    for (int t = 0; t < shells_; ++t) k_[t] = LawScale / lengths[t];
  }

  // W(r) = U_B + U_C + U_D + U_F + U_G, or with the contact part
  // U_B + U_C + U_D + U_F - A exp(-a G / (r - G)), whose derivative is -S_B - .. - S_F + K = -Phi.
  real W(real r) const {
    real sum = 0.0L;
    for (int t = 0; t < shells_; ++t) sum += ShellPotential(k_[t], r);
    if (contact_ && r > G_) sum -= A_ * Exp(-a_ * G_ / (r - G_));
    return sum;
  }

  real A() const { return A_; }

 private:
  real A_ = 0.0L, G_ = 0.0L, a_ = 0.0L;
  int shells_ = 0;
  bool contact_ = false;
  real k_[ShellTermCount] = {};
};

struct GroupPotentials {
  GroupPotential byGroup[GroupCount + 1];
  // same[a][b]: groups a and b have equal parameters, so P(i,j) = P(j,i) across them.
  bool same[GroupCount + 1][GroupCount + 1] = {};
};

bool EqualParameters(const GroupParameters& a, const GroupParameters& b) {
  return a.A == b.A && a.B == b.B && a.C == b.C && a.D == b.D && a.F == b.F && a.G == b.G;
}

GroupPotentials PotentialsOf(const Model& model, const LawSettings& law) {
  GroupParameters p[GroupCount + 1] = {};
  GroupPotentials g;
  for (int a = 1; a <= GroupCount; ++a) {
    p[a] = ParametersOfGroup(model, a);
    g.byGroup[a] = GroupPotential(p[a], law);
  }
  for (int a = 1; a <= GroupCount; ++a)
    for (int b = 1; b <= GroupCount; ++b) g.same[a][b] = EqualParameters(p[a], p[b]);
  return g;
}

real Distance(const Model& m, int i, int j) {
  const real dx = m.X[i] - m.X[j];
  const real dy = m.Y[i] - m.Y[j];
  const real dz = m.Z[i] - m.Z[j];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// P(i,j) = s(i,j) A_g W_g(r), g the group of j.
real PairEnergyAt(const GroupPotential& partner, real sign, real r) {
  return sign * partner.A() * partner.W(r);
}

struct Energies {
  real potential = 0.0L;
  real closest = std::numeric_limits<real>::infinity();
};

// Calls visit(i, j, r, e) for every unordered present pair i < j, with r their distance and
// e = (P(i,j) + P(j,i)) / 2 the pair's energy.
template <class Visit>
void ForEachPair(const Model& m, const LawSettings& law, Visit visit) {
  const GroupPotentials g = PotentialsOf(m, law);
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    const int gi = GroupOf(m.N, i);
    for (int j = i + 1; j <= m.N; ++j) {
      if (!m.Present[j]) continue;
      const int gj = GroupOf(m.N, j);
      const real r = Distance(m, i, j);
      const real sign = static_cast<real>(PairSign(i, j, law.Taoscope));
      const real seenByI = PairEnergyAt(g.byGroup[gj], sign, r);
      const real seenByJ = g.same[gi][gj] ? seenByI : PairEnergyAt(g.byGroup[gi], sign, r);
      visit(i, j, r, (seenByI + seenByJ) / 2.0L);
    }
  }
}

Energies PairSums(const Model& m, const LawSettings& law) {
  Energies e;
  ForEachPair(m, law, [&](int, int, real r, real energy) {
    e.potential += energy;
    if (r < e.closest || std::isnan(r)) e.closest = r;  // a NaN stays: no later r is less
  });
  return e;
}

// The mean squared distance from the mean position, its square root.
real Gyration(const Model& m, int present) {
  if (present == 0) return std::numeric_limits<real>::quiet_NaN();
  real cx = 0.0L, cy = 0.0L, cz = 0.0L;
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    cx += m.X[i];
    cy += m.Y[i];
    cz += m.Z[i];
  }
  const real count = static_cast<real>(present);
  cx /= count;
  cy /= count;
  cz /= count;
  real sum = 0.0L;
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    const real dx = m.X[i] - cx, dy = m.Y[i] - cy, dz = m.Z[i] - cz;
    sum += dx * dx + dy * dy + dz * dz;
  }
  return std::sqrt(sum / count);
}

}  // namespace

real PairEnergy(const Model& model, const LawSettings& law, int i, int j) {
  FaultFlagsKept flagsKept;
  const GroupPotential partner(ParametersOfGroup(model, GroupOf(model.N, j)), law);
  return PairEnergyAt(partner, static_cast<real>(PairSign(i, j, law.Taoscope)), Distance(model, i, j));
}

SlotArray<real> ParticlePotentials(const Model& model, const LawSettings& law) {
  FaultFlagsKept flagsKept;
  SlotArray<real> share{};
  ForEachPair(model, law, [&](int i, int j, real, real energy) {
    share[i] += energy / 2.0L;
    share[j] += energy / 2.0L;
  });
  return share;
}

Observables Measure(const Model& model, const LawSettings& law) {
  FaultFlagsKept flagsKept;  // a far or coincident pair may flag; the run's checkpoints must not see it
  const Model& m = model;
  Observables o;
  real groupKinetic[GroupCount + 1] = {};
  real fastest = 0.0L;
  int present = 0;
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    ++present;
    const real squared = m.V[i] * m.V[i] + m.U[i] * m.U[i] + m.W[i] * m.W[i];
    groupKinetic[GroupOf(m.N, i)] += squared / 2.0L;
    const real speed = std::sqrt(squared);
    if (speed > fastest || std::isnan(speed)) fastest = speed;  // a NaN stays: no later speed is greater
  }
  const Energies e = PairSums(m, law);
  o[Quantity::Kinetic1] = groupKinetic[1];
  o[Quantity::Kinetic2] = groupKinetic[2];
  o[Quantity::Kinetic3] = groupKinetic[3];
  o[Quantity::Kinetic] = groupKinetic[1] + groupKinetic[2] + groupKinetic[3];
  o[Quantity::Potential] = e.potential;
  o[Quantity::Total] = o[Quantity::Kinetic] + e.potential;
  o[Quantity::Gyration] = Gyration(m, present);
  o[Quantity::Closest] = e.closest;
  o[Quantity::Fastest] = fastest;
  return o;
}

}  // namespace velmora
