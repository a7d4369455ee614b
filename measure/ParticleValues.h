#pragma once
// A quantity of every particle, for colouring the picture by it: the particle's speed, kinetic
// energy or share of the potential energy, and the range it spans over the present particles.

#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora {

// What a particle's colour says: its group (or parity, under Taoscope), one of its quantities, or
// what the structure analysis finds about it (see StructureColours).
enum class ColourBy { Group, Speed, Kinetic, Potential, Cluster, Coordination, NeighbourClass };

// "Group", "Speed", "Kinetic Energy", "Potential Energy", "Cluster", "Coordination", "Neighbour
// Class": the menu's texts and the colour bar's or legend's title.
const char* ColourByName(ColourBy colour);

// A quantity on a colour bar (Speed, Kinetic, Potential), not a group or a kind.
bool IsQuantity(ColourBy colour);

// The quantity of every present slot (0 for absent slots and for what is no quantity): speed
// |(V, U, W)|, kinetic energy |(V, U, W)|^2 / 2, or the slot's share of the potential
// (ParticlePotentials).
SlotArray<real> ParticleValues(const Model& model, const LawSettings& law, ColourBy colour);

// The least and greatest finite value over the present slots; Any is false when there is none.
struct ValueRange {
  bool Any = false;
  real Least = 0.0L, Greatest = 0.0L;
};
ValueRange PresentRange(const Model& model, const SlotArray<real>& values);

}  // namespace velmora
