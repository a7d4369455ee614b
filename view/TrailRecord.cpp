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

void TrailRecord::Add(const Model& model, const ViewState* drawnWith) {
  if (model.StepCount <= lastStep_) Clear();
  lastStep_ = model.StepCount;
  Frame& f = frames_[static_cast<std::size_t>(next_)];
  f.X = model.ShownX;
  f.Y = model.ShownY;
  f.Z = model.ShownZ;
  f.Present = model.Present;
  Placement& p = placed_[static_cast<std::size_t>(next_)];
  p.valid = false;
  if (drawnWith) p.Place(f, *drawnWith, model.N);
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
  if (!p.IsUnder(view)) p.Place(frames_[static_cast<std::size_t>(index)], view, 0);
  return p.points;
}

bool TrailRecord::Placement::IsUnder(const ViewState& view) const {
  const RotationMatrix& m = view.RotM;
  const RotationMatrix& r = rotation;
  return valid && r.M11 == m.M11 && r.M12 == m.M12 && r.M13 == m.M13 && r.M21 == m.M21 && r.M22 == m.M22 &&
         r.M23 == m.M23 && r.M31 == m.M31 && r.M32 == m.M32 && r.M33 == m.M33 && zoom == view.Zoom &&
         panX == view.PanX && panY == view.PanY && centreX == view.CentreX && centreY == view.CentreY;
}

// Slots 1 to `projected` take the view's ScreenX and ScreenY, which ProjectParticles left for
// them; the others are projected here.
void TrailRecord::Placement::Place(const Frame& frame, const ViewState& view, int projected) {
  for (int i = 1; i <= SlotCount; ++i) {
    if (!frame.Present[i]) continue;
    points[i] = i <= projected ? ScreenPoint{view.ScreenX[i], view.ScreenY[i]}
                               : ProjectPoint(view, frame.X[i], frame.Y[i], frame.Z[i]);
  }
  valid = true;
  rotation = view.RotM;
  zoom = view.Zoom;
  panX = view.PanX;
  panY = view.PanY;
  centreX = view.CentreX;
  centreY = view.CentreY;
}

}  // namespace velmora
