#include "measure/Selection.h"

#include <algorithm>

namespace velmora {

void Selection::Pick(int slot) {
  slots_.clear();
  if (slot != 0) slots_.push_back(slot);
}

void Selection::Toggle(int slot) {
  if (slot == 0) return;
  const auto found = std::find(slots_.begin(), slots_.end(), slot);
  if (found != slots_.end()) {
    slots_.erase(found);
  } else if (static_cast<int>(slots_.size()) < Most) {
    slots_.push_back(slot);
  }
}

void Selection::KeepPresent(const Model& model) {
  std::erase_if(slots_, [&](int slot) { return slot < 1 || slot > model.N || !model.Present[slot]; });
}

bool Selection::Contains(int slot) const {
  return std::find(slots_.begin(), slots_.end(), slot) != slots_.end();
}

}  // namespace velmora
