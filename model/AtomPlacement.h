#pragma once
// A structure made elsewhere (an extended XYZ frame, a list of atoms) put into the slots of a
// scene. Coordinates come as doubles, the precision such structures carry; each becomes the
// extended value equal to it.

#include <array>
#include <vector>

#include "model/Model.h"

namespace velmora {

struct PlacedAtom {
  int slot = 0;  // 1 .. N; ignored when the atoms carry no slot numbers
  std::array<double, 3> position{};
  std::array<double, 3> velocity{};
};

// Empties every slot of the model (absent, at the origin, at rest, all copies in line), then
// makes the atoms present: atom k in slot `slot` when withSlots, otherwise in slot k + 1, with
// its position and velocity in every copy. dt, the parameters and the record buffer stay.
// Throws ProgramError, leaving the model untouched, for more atoms than slots, a slot outside
// 1 .. N and a slot given twice.
void PlaceAtoms(Model& model, const std::vector<PlacedAtom>& atoms, bool withSlots);

}  // namespace velmora
