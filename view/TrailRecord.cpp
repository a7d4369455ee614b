#include "view/TrailRecord.h"

#include <algorithm>

namespace velmora {

TrailRecord::TrailRecord(int steps)
    : steps_(std::max(steps, 1)), frames_(static_cast<std::size_t>(steps_)), placed_(frames_.size()) {}

void TrailRecord::SetSteps(int steps) {
  steps = std::max(steps, 1);
  if (steps == steps_) return;
  std::vector<Frame> kept(static_cast<std::size_t>(steps));
  const int keep = std::min(count_, steps);
  for (int age = keep - 1, k = 0; age >= 0; --age, ++k) kept[static_cast<std::size_t>(k)] = Ago(age);
  frames_ = std::move(kept);
  placed_.assign(frames_.size(), Placement{});
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
  placed_[static_cast<std::size_t>(next_)].valid = false;
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

const SlotArray<ScreenPoint>& TrailRecord::Placed(int age, const ViewState& view) const {
  const int index = ((next_ - 1 - age) % steps_ + steps_) % steps_;
  Placement& p = placed_[static_cast<std::size_t>(index)];
  const RotationMatrix& m = view.RotM;
  const RotationMatrix& r = p.rotation;
  const bool same = p.valid && r.M11 == m.M11 && r.M12 == m.M12 && r.M13 == m.M13 && r.M21 == m.M21 &&
                    r.M22 == m.M22 && r.M23 == m.M23 && r.M31 == m.M31 && r.M32 == m.M32 && r.M33 == m.M33 &&
                    p.zoom == view.Zoom && p.panX == view.PanX && p.panY == view.PanY &&
                    p.centreX == view.CentreX && p.centreY == view.CentreY;
  if (same) return p.points;
  const Frame& f = frames_[static_cast<std::size_t>(index)];
  for (int i = 1; i <= SlotCount; ++i)
    if (f.Present[i]) p.points[i] = ProjectPoint(view, f.X[i], f.Y[i], f.Z[i]);
  p.valid = true;
  p.rotation = m;
  p.zoom = view.Zoom;
  p.panX = view.PanX;
  p.panY = view.PanY;
  p.centreX = view.CentreX;
  p.centreY = view.CentreY;
  return p.points;
}

}  // namespace velmora
