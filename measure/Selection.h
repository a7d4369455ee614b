#pragma once
// The particles a user has picked, in the order picked: at most four, as the measurements need
// (one: the particle itself; two: a distance; three: a triangle; four: a dihedral angle).

#include <vector>

#include "model/Model.h"

namespace velmora {

class Selection {
 public:
  static constexpr int Most = 4;

  // A plain click: the slot alone, or nothing when the click hit no particle (slot 0).
  void Pick(int slot);
  // A click with Ctrl: the slot leaves the selection when it is in it, and joins it at the end
  // when there is room; a click on no particle changes nothing.
  void Toggle(int slot);
  void Clear() { slots_.clear(); }
  // Drops slots that are no longer present (deleted, or another scene read).
  void KeepPresent(const Model& model);

  const std::vector<int>& Slots() const { return slots_; }
  bool Empty() const { return slots_.empty(); }
  bool Contains(int slot) const;

 private:
  std::vector<int> slots_;
};

}  // namespace velmora
