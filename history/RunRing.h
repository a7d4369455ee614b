#pragma once
// The last states of a run, one per step: everything a step reads (N, dt, the parameters, the
// step count, Present, the current, working and display copies of every slot 1..N) and the
// switches the step ran with. A state put back into the scene and run on gives, step for step,
// the bits the first run gave. The oldest state is forgotten once the ring is full.
// Slots are kept as their ten bytes; a working or display copy only where it differs from the
// current value (after a step they agree, but for the confinement's adjustments and the slots a
// Blockade leaves alone), so a state of 100 slots takes about 6 kB.

#include <array>
#include <vector>

#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora {

class RunRing {
 public:
  static constexpr int DefaultCapacity = 10000;

  explicit RunRing(int capacity = DefaultCapacity);

  // A new capacity (at least 1) forgets every state.
  void SetCapacity(int capacity);
  int Capacity() const { return capacity_; }
  void Clear();

  // Keeps the scene as it stands (after a step, or at the start of a run) with the switches the
  // step ran with.
  void Keep(const SceneState& scene, const StepSettings& settings);

  // The states kept, 0 the oldest.
  int Size() const { return size_; }
  // The step count of kept state k.
  int StepOf(int k) const { return At(k).stepCount; }
  // The switches kept state k was reached with.
  const StepSettings& SettingsOf(int k) const { return At(k).settings; }
  // Puts kept state k into the scene; slots beyond its N and the record buffer stay as they are.
  void RestoreInto(SceneState& scene, int k) const;
  // Forgets the states after kept state k: a run resumed from it keeps its own from there.
  void DropAfter(int k);

 private:
  struct Kept {
    int stepCount = 0;
    int n = 0;
    StepSettings settings;
    std::array<real, 1 + ParameterCount> dtAndParameters{};
    SlotArray<bool> present{};
    std::vector<unsigned char> slotBytes;  // see RunRing.cpp
  };

  const Kept& At(int k) const;

  int capacity_;
  std::vector<Kept> ring_;
  int oldest_ = 0;
  int size_ = 0;
};

}  // namespace velmora
