#include "view/TrailRecord.h"

#include <algorithm>

namespace velmora {

TrailRecord::TrailRecord(int steps) : steps_(std::max(steps, 1)), frames_(static_cast<std::size_t>(steps_)) {}

void TrailRecord::SetSteps(int steps) {
  steps = std::max(steps, 1);
  if (steps == steps_) return;
  std::vector<Frame> kept(static_cast<std::size_t>(steps));
  const int keep = std::min(count_, steps);
  for (int age = keep - 1, k = 0; age >= 0; --age, ++k) kept[static_cast<std::size_t>(k)] = Ago(age);
  frames_ = std::move(kept);
  steps_ = steps;
  count_ = keep;
  next_ = keep % steps_;
}

void TrailRecord::Add(const Model& model) {
  if (model.StepCount <= lastStep_) Clear();
  lastStep_ = model.StepCount;
  Frame& f = frames_[static_cast<std::size_t>(next_)];
  f.X = model.ShownX;
  f.Y = model.ShownY;
  f.Z = model.ShownZ;
  f.Present = model.Present;
  next_ = (next_ + 1) % steps_;
  count_ = std::min(count_ + 1, steps_);
}

void TrailRecord::Clear() {
  next_ = 0;
  count_ = 0;
  lastStep_ = -1;
}

const TrailRecord::Frame& TrailRecord::Ago(int age) const {
  const int index = ((next_ - 1 - age) % steps_ + steps_) % steps_;
  return frames_[static_cast<std::size_t>(index)];
}

}  // namespace velmora
