#pragma once
// What a run can be measured by while it goes: the energies, the size of the cloud, the closest
// approach and the greatest speed, over the present slots with unit masses. Measuring reads the
// current positions and velocities and changes nothing, not even the FPU status flags, so that a
// run gives the same bits whether and however often it is measured.

#include <array>

#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora {

// The quantities in the order of the log's columns (after "step").
enum class Quantity { Kinetic, Potential, Total, Kinetic1, Kinetic2, Kinetic3, Gyration, Closest, Fastest };
inline constexpr int QuantityCount = 9;
// "kinetic", "potential", "total", "kinetic1", "kinetic2", "kinetic3", "gyration", "closest",
// "fastest": the log's column names and the names the chart and the Python module use.
extern const std::array<const char*, QuantityCount> QuantityNames;

struct Observables {
  std::array<real, QuantityCount> values{};

  real operator[](Quantity q) const { return values[static_cast<int>(q)]; }
  real& operator[](Quantity q) { return values[static_cast<int>(q)]; }
};

// The quantities of the present slots 1..N, from X, Y, Z and V, U, W:
// - kinetic = 1/2 sum (V^2 + U^2 + W^2), and kinetic1..3 the same over each group's slots;
// - potential = sum over unordered present pairs of (P(i,j) + P(j,i)) / 2 (PairEnergy below);
// - total = kinetic + potential;
// - gyration = sqrt(mean |q - centre|^2) about the mean position (NAN with no present slot);
// - closest = the least distance between two present slots (INF with fewer than two);
// - fastest = the greatest speed (0 with no present slot);
// a position or velocity that is not a number makes every quantity that reads it NAN.
Observables Measure(const Model& model, const LawSettings& law);

// The energy of slot i in the field of slot j, whose group g gives the parameters:
//   P(i,j) = s(i,j) A_g W_g(r),  W_g(r) = sum of x_p^E_p over g's shell terms
//                                         [- A_g exp(-a G_g / (r - G_g)) for r > G_g, with contact],
// so that -dP/dq_i is the law's acceleration of i from j: -dW_g/dr is the law's Phi.
real PairEnergy(const Model& model, const LawSettings& law, int i, int j);

// Each present slot's share of the potential: half of the energy (P(i,j) + P(j,i)) / 2 of every
// pair it belongs to, so that the shares of the present slots add up to the potential (up to the
// order of the sums). Absent slots get 0.
SlotArray<real> ParticlePotentials(const Model& model, const LawSettings& law);

}  // namespace velmora
