#include "history/RunRing.h"

#include <algorithm>
#include <stdexcept>

namespace velmora {

namespace {

using Column = SlotArray<real> SceneState::*;

// The current values of a slot, kept for every slot 1..N in this order.
constexpr std::array<Column, 6> Current = {&SceneState::X, &SceneState::Y, &SceneState::Z,
                                           &SceneState::V, &SceneState::U, &SceneState::W};
// The copies, each with the current value it normally equals; kept only where they differ.
constexpr std::array<std::pair<Column, Column>, 9> Copies = {{{&SceneState::NewX, &SceneState::X},
                                                              {&SceneState::NewY, &SceneState::Y},
                                                              {&SceneState::NewZ, &SceneState::Z},
                                                              {&SceneState::NewV, &SceneState::V},
                                                              {&SceneState::NewU, &SceneState::U},
                                                              {&SceneState::NewW, &SceneState::W},
                                                              {&SceneState::ShownX, &SceneState::X},
                                                              {&SceneState::ShownY, &SceneState::Y},
                                                              {&SceneState::ShownZ, &SceneState::Z}}};

// A copy that differs: the index of its column in Copies, the slot and the value's ten bytes.
constexpr std::size_t ExceptionBytes = 2 + ExtendedBytes;

void Append(std::vector<unsigned char>& bytes, real value) {
  const std::size_t at = bytes.size();
  bytes.resize(at + ExtendedBytes);
  StoreExtended(&bytes[at], value);
}

}  // namespace

RunRing::RunRing(int capacity) : capacity_(std::max(capacity, 1)) {}

void RunRing::SetCapacity(int capacity) {
  capacity_ = std::max(capacity, 1);
  ring_.clear();
  ring_.shrink_to_fit();
  Clear();
}

void RunRing::Clear() {
  oldest_ = 0;
  size_ = 0;
}

void RunRing::Keep(const SceneState& scene, const StepSettings& settings) {
  // The ring grows to its capacity as the states come, and then reuses each state's storage.
  const std::size_t index = static_cast<std::size_t>((oldest_ + size_) % capacity_);
  if (index >= ring_.size()) ring_.resize(index + 1);
  Kept& kept = ring_[index];
  if (size_ == capacity_)
    oldest_ = (oldest_ + 1) % capacity_;
  else
    ++size_;
  kept.stepCount = scene.StepCount;
  kept.n = scene.N;
  kept.settings = settings;
  kept.dtAndParameters[0] = scene.dt;
  for (int p = 0; p < ParameterCount; ++p) kept.dtAndParameters[1 + p] = Parameter(scene, p);
  kept.present = scene.Present;
  kept.slotBytes.clear();
  // Room for the current values at once: a ring that fills grows no state byte by byte.
  kept.slotBytes.reserve(static_cast<std::size_t>(scene.N) * Current.size() * ExtendedBytes);
  for (int i = 1; i <= scene.N; ++i)
    for (const Column column : Current) Append(kept.slotBytes, (scene.*column)[i]);
  for (std::size_t c = 0; c < Copies.size(); ++c)
    for (int i = 1; i <= scene.N; ++i) {
      const real copy = (scene.*Copies[c].first)[i];
      if (SameBits(copy, (scene.*Copies[c].second)[i])) continue;
      kept.slotBytes.push_back(static_cast<unsigned char>(c));
      kept.slotBytes.push_back(static_cast<unsigned char>(i));
      Append(kept.slotBytes, copy);
    }
}

const RunRing::Kept& RunRing::At(int k) const {
  if (k < 0 || k >= size_) throw std::out_of_range("no kept state " + std::to_string(k));
  return ring_[(oldest_ + k) % capacity_];
}

void RunRing::RestoreInto(SceneState& scene, int k) const {
  const Kept& kept = At(k);
  scene.StepCount = kept.stepCount;
  scene.N = kept.n;
  scene.dt = kept.dtAndParameters[0];
  for (int p = 0; p < ParameterCount; ++p) Parameter(scene, p) = kept.dtAndParameters[1 + p];
  scene.Present = kept.present;
  const unsigned char* bytes = kept.slotBytes.data();
  for (int i = 1; i <= kept.n; ++i)
    for (const Column column : Current) {
      (scene.*column)[i] = LoadExtended(bytes);
      bytes += ExtendedBytes;
    }
  for (int i = 1; i <= kept.n; ++i)
    for (const auto& [copy, current] : Copies) (scene.*copy)[i] = (scene.*current)[i];
  for (const unsigned char* end = kept.slotBytes.data() + kept.slotBytes.size(); bytes < end;
       bytes += ExceptionBytes)
    (scene.*Copies[bytes[0]].first)[bytes[1]] = LoadExtended(bytes + 2);
}

void RunRing::DropAfter(int k) {
  At(k);
  size_ = k + 1;
}

}  // namespace velmora
