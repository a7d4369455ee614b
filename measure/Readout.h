#pragma once
// What the selection reads: each picked particle's state and energies, and the measurement its
// count names (two: distance and pair potential; three: the triangle's angles; four: the
// dihedral angle), as the status bar shows it and as Edit > Copy Selection copies it.

#include <string>
#include <vector>

#include "model/Model.h"
#include "sim/StepSettings.h"

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

struct SelectionReading {
  std::vector<ParticleReading> Particles;
  // Two slots i, j: "distance" and "P(i,j)", the energy of i in the field of j. Three slots a, b,
  // c: "angle at a", "angle at b", "angle at c" in degrees. Four slots a, b, c, d: "dihedral" in
  // degrees between the planes (a, b, c) and (b, c, d).
  std::vector<NamedValue> Measurements;
};

// The reading of present slots (1 .. N), in the order given.
SelectionReading ReadSelection(const Model& model, const LawSettings& law, const std::vector<int>& picked);

// The status bar's line, numbers in the general number format with the user's separator:
// "Slot 7, group 1: x = 0.5, y = ..., potential = -0.25", "Slots 3, 7: distance = 1.5,
// P(3,7) = -0.5", "Slots 3, 7, 9: angle at 3 = 90°, ...". Empty for no selection.
std::string ReadoutText(const SelectionReading& reading, char separator);

// The clipboard's text: a header row "slot", "group", "x", .. "potential" and one row per
// particle, then one row "name<TAB>value" per measurement; numbers with "." and 21 significant
// digits (FormatExact), rows ended by "\n". Empty for no selection.
std::string CopyText(const SelectionReading& reading);

}  // namespace velmora
