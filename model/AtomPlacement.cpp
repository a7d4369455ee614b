#include "model/AtomPlacement.h"

#include <string>

#include "model/ProgramError.h"

namespace velmora {

namespace {

std::string SlotsOf(const Model& model) { return "1.." + std::to_string(model.N); }

// The slot of each atom, checked before anything is changed.
std::vector<int> TargetSlots(const Model& model, const std::vector<PlacedAtom>& atoms, bool withSlots) {
  if (atoms.size() > static_cast<std::size_t>(model.N))
    throw ProgramError(std::to_string(atoms.size()) + " atoms, but a scene holds at most " +
                       std::to_string(model.N));
  std::vector<int> slots;
  SlotArray<bool> taken{};
  for (std::size_t k = 0; k < atoms.size(); ++k) {
    const int slot = withSlots ? atoms[k].slot : static_cast<int>(k) + 1;
    if (slot < 1 || slot > model.N)
      throw ProgramError("atom " + std::to_string(k + 1) + ": slot " + std::to_string(slot) + " is outside " +
                         SlotsOf(model));
    if (taken[slot]) throw ProgramError("slot " + std::to_string(slot) + " is given to two atoms");
    taken[slot] = true;
    slots.push_back(slot);
  }
  return slots;
}

}  // namespace

void PlaceAtoms(Model& model, const std::vector<PlacedAtom>& atoms, bool withSlots) {
  const std::vector<int> slots = TargetSlots(model, atoms, withSlots);
  for (int i = 1; i <= model.N; ++i) {
    model.Present[i] = false;
    model.X[i] = model.Y[i] = model.Z[i] = model.V[i] = model.U[i] = model.W[i] = 0.0L;
    AlignCopies(model, i);
  }
  for (std::size_t k = 0; k < atoms.size(); ++k) {
    const int i = slots[k];
    const PlacedAtom& atom = atoms[k];
    model.Present[i] = true;
    model.X[i] = atom.position[0], model.Y[i] = atom.position[1], model.Z[i] = atom.position[2];
    model.V[i] = atom.velocity[0], model.U[i] = atom.velocity[1], model.W[i] = atom.velocity[2];
    AlignCopies(model, i);
  }
}

}  // namespace velmora
