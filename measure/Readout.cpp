#include "measure/Readout.h"

#include <algorithm>
#include <cmath>

#include "measure/Geometry3.h"
#include "model/ProgramError.h"
#include "sim/Observables.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

// The particle's quantities by the names both texts give them, in their order.
struct Field {
  const char* name;
  real ParticleReading::*value;
};
constexpr Field Fields[] = {{"x", &ParticleReading::X},
                            {"y", &ParticleReading::Y},
                            {"z", &ParticleReading::Z},
                            {"v", &ParticleReading::V},
                            {"u", &ParticleReading::U},
                            {"w", &ParticleReading::W},
                            {"speed", &ParticleReading::Speed},
                            {"kinetic", &ParticleReading::Kinetic},
                            {"potential", &ParticleReading::Potential}};

ParticleReading ReadParticle(const Model& m, const SlotArray<real>& potentials, int i) {
  ParticleReading p;
  p.Slot = i;
  p.Group = GroupOf(m.N, i);
  p.X = m.X[i];
  p.Y = m.Y[i];
  p.Z = m.Z[i];
  p.V = m.V[i];
  p.U = m.U[i];
  p.W = m.W[i];
  const real squared = m.V[i] * m.V[i] + m.U[i] * m.U[i] + m.W[i] * m.W[i];
  p.Speed = std::sqrt(squared);
  p.Kinetic = squared / 2.0L;
  p.Potential = potentials[i];
  return p;
}

std::vector<NamedValue> Measure(const Model& m, const LawSettings& law, const std::vector<int>& s) {
  const auto at = [&](int k) { return PositionOf(m, s[k]); };
  const auto slot = [&](int k) { return std::to_string(s[k]); };
  switch (s.size()) {
    case 2:
      return {{"distance", Separation(at(0), at(1))},
              {"P(" + slot(0) + "," + slot(1) + ")", PairEnergy(m, law, s[0], s[1])}};
    case 3:
      return {{"angle at " + slot(0), AngleDegrees(at(1), at(0), at(2))},
              {"angle at " + slot(1), AngleDegrees(at(0), at(1), at(2))},
              {"angle at " + slot(2), AngleDegrees(at(0), at(2), at(1))}};
    case 4:
      return {{"dihedral", DihedralDegrees(at(0), at(1), at(2), at(3))}};
    default:
      return {};
  }
}

bool IsAngle(const std::string& name) { return name.starts_with("angle") || name == "dihedral"; }

std::string JoinSlots(const SelectionReading& r) {
  std::string text = r.Particles.size() == 1 ? "Slot " : "Slots ";
  for (std::size_t k = 0; k < r.Particles.size(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(r.Particles[k].Slot);
  }
  return text;
}

// A scene that cannot be analysed (a position that is not a number) reads without a place.
std::optional<StructurePlace> PlaceOf(const Model& model, int slot, const StructureSettings& settings) {
  std::vector<int> slots;
  const Points points = PresentPoints(model, &slots);
  const auto k = std::find(slots.begin(), slots.end(), slot) - slots.begin();
  try {
    const PointStructure s = AnalysePoints(points, settings);
    return StructurePlace{s.coordination[k], s.cluster[k], s.classes[k]};
  } catch (const ProgramError&) {
    return std::nullopt;
  }
}

}  // namespace

SelectionReading ReadSelection(const Model& model, const LawSettings& law, const std::vector<int>& picked,
                               const StructureSettings* structure) {
  SelectionReading reading;
  if (picked.empty()) return reading;
  const SlotArray<real> potentials = ParticlePotentials(model, law);
  for (int slot : picked) reading.Particles.push_back(ReadParticle(model, potentials, slot));
  reading.Measurements = Measure(model, law, picked);
  if (structure && picked.size() == 1) reading.Place = PlaceOf(model, picked.front(), *structure);
  return reading;
}

std::string ReadoutText(const SelectionReading& reading, char separator) {
  if (reading.Particles.empty()) return {};
  std::string text = JoinSlots(reading);
  std::string values;
  const auto add = [&](const std::string& name, const std::string& value) {
    values += (values.empty() ? "" : ", ") + name + " = " + value;
  };
  if (reading.Particles.size() == 1) {
    const ParticleReading& p = reading.Particles.front();
    text += ", group " + std::to_string(p.Group);
    for (const Field& f : Fields) add(f.name, FormatReal(p.*f.value, separator));
    if (reading.Place) {
      add("coordination", std::to_string(reading.Place->Coordination));
      add("cluster", std::to_string(reading.Place->Cluster));
      add("class", NeighbourClassName(reading.Place->Class));
    }
  }
  for (const NamedValue& m : reading.Measurements)
    add(m.Name, FormatReal(m.Value, separator) + (IsAngle(m.Name) ? "\u00b0" : ""));
  return text + ": " + values;
}

std::string CopyText(const SelectionReading& reading) {
  if (reading.Particles.empty()) return {};
  std::string text = "slot\tgroup";
  for (const Field& f : Fields) text += std::string("\t") + f.name;
  text += "\n";
  for (const ParticleReading& p : reading.Particles) {
    text += std::to_string(p.Slot) + "\t" + std::to_string(p.Group);
    for (const Field& f : Fields) text += "\t" + FormatExact(p.*f.value);
    text += "\n";
  }
  for (const NamedValue& m : reading.Measurements) text += m.Name + "\t" + FormatExact(m.Value) + "\n";
  return text;
}

}  // namespace velmora
