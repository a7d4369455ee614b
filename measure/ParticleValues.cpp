#include "measure/ParticleValues.h"

#include <cmath>

#include "model/FloatingPointFaults.h"
#include "sim/Observables.h"

namespace velmora {

const char* ColourByName(ColourBy colour) {
  switch (colour) {
    case ColourBy::Group:
      return "Group";
    case ColourBy::Speed:
      return "Speed";
    case ColourBy::Kinetic:
      return "Kinetic Energy";
    case ColourBy::Potential:
      return "Potential Energy";
    case ColourBy::Cluster:
      return "Cluster";
    case ColourBy::Coordination:
      return "Coordination";
    case ColourBy::NeighbourClass:
      return "Neighbour Class";
  }
  return "";
}

bool IsQuantity(ColourBy colour) {
  return colour == ColourBy::Speed || colour == ColourBy::Kinetic || colour == ColourBy::Potential;
}

SlotArray<real> ParticleValues(const Model& model, const LawSettings& law, ColourBy colour) {
  if (colour == ColourBy::Potential) return ParticlePotentials(model, law);
  FaultFlagsKept flagsKept;
  SlotArray<real> values{};
  if (!IsQuantity(colour)) return values;
  const Model& m = model;
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    const real squared = m.V[i] * m.V[i] + m.U[i] * m.U[i] + m.W[i] * m.W[i];
    values[i] = colour == ColourBy::Speed ? std::sqrt(squared) : squared / 2.0L;
  }
  return values;
}

ValueRange PresentRange(const Model& model, const SlotArray<real>& values) {
  ValueRange range;
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i] || !std::isfinite(values[i])) continue;
    if (!range.Any || values[i] < range.Least) range.Least = values[i];
    if (!range.Any || values[i] > range.Greatest) range.Greatest = values[i];
    range.Any = true;
  }
  return range;
}

}  // namespace velmora
