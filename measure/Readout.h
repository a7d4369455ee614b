#pragma once
// What the selection reads: each picked particle's state and energies, and the measurement its
// count names (two: distance and pair potential; three: the triangle's angles; four: the
// dihedral angle), as the status bar shows it and as Edit > Copy Selection copies it.

#include <optional>
#include <string>
#include <vector>

#include "model/Model.h"
#include "sim/StepSettings.h"
#include "structure/StructureAnalysis.h"

namespace velmora {

struct ParticleReading {
  int Slot = 0;
  int Group = 0;
  real X = 0.0L, Y = 0.0L, Z = 0.0L, V = 0.0L, U = 0.0L, W = 0.0L;
  real Speed = 0.0L;
  real Kinetic = 0.0L;    // (V^2 + U^2 + W^2) / 2, unit mass
  real Potential = 0.0L;  // the slot's share of the potential (ParticlePotentials)
};

struct NamedValue {
  std::string Name;
  real Value = 0.0L;
};

// Where the structure analysis puts one picked particle.
struct StructurePlace {
  int Coordination = 0;
  int Cluster = 0;  // numbered from 0, as Edit > Copy Structure numbers them
  NeighbourClass Class = NeighbourClass::Other;
};

struct SelectionReading {
  std::vector<ParticleReading> Particles;
  // One particle picked and a structure asked for: its place (none where the analysis fails).
  std::optional<StructurePlace> Place;
  // Two slots i, j: "distance" and "P(i,j)", the energy of i in the field of j. Three slots a, b,
  // c: "angle at a", "angle at b", "angle at c" in degrees. Four slots a, b, c, d: "dihedral" in
  // degrees between the planes (a, b, c) and (b, c, d).
  std::vector<NamedValue> Measurements;
};

// The reading of present slots (1 .. N), in the order given; of one slot, with `structure`, also
// its place in the structure under those settings.
SelectionReading ReadSelection(const Model& model, const LawSettings& law, const std::vector<int>& picked,
                               const StructureSettings* structure = nullptr);

// The status bar's line, numbers in the general number format with the user's separator:
// "Slot 7, group 1: x = 0.5, y = ..., potential = -0.25" (with its place: "..., potential = -0.25,
// coordination = 12, cluster = 0, class = icosahedral"), "Slots 3, 7: distance = 1.5,
// P(3,7) = -0.5", "Slots 3, 7, 9: angle at 3 = 90°, ...". Empty for no selection.
std::string ReadoutText(const SelectionReading& reading, char separator);

// The clipboard's text: a header row "slot", "group", "x", .. "potential" and one row per
// particle, then one row "name<TAB>value" per measurement; numbers with "." and 21 significant
// digits (FormatExact), rows ended by "\n". Empty for no selection.
std::string CopyText(const SelectionReading& reading);

}  // namespace velmora
