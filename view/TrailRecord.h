#pragma once
// Where the particles were over the last steps, for drawing their trails: the display positions
// of every slot after each of the last K steps, newest last. A step that is not beyond the last
// one recorded (File > New or Open set the count back) begins a new record.

#include <vector>

#include "model/Model.h"
#include "view/ViewState.h"

namespace velmora {

class TrailRecord {
 public:
  struct Frame {
    SlotArray<real> X{}, Y{}, Z{};
    SlotArray<bool> Present{};
  };

  explicit TrailRecord(int steps);

  // K, at least 1; fewer kept frames than before drop the oldest.
  void SetSteps(int steps);
  int Steps() const { return steps_; }

  // The display positions after step model.StepCount. With `drawnWith`, the view the model was
  // just projected with (ProjectParticles): its ScreenX and ScreenY are kept as the frame's window
  // positions under that view, which a run then need not work out again.
  void Add(const Model& model, const ViewState* drawnWith = nullptr);
  void Clear();

  int Size() const { return count_; }
  // The frame `age` steps before the newest (0 the newest), age < Size().
  const Frame& Ago(int age) const;
  // Its window positions under `view` (ProjectPoint of every present slot), projected once for as
  // long as the view's matrix, zoom, shift and centre stay as they are: a run adds one frame a
  // step and the picture draws them all.
  const SlotArray<ScreenPoint>& Placed(int age, const ViewState& view) const;

 private:
  int steps_;
  struct Placement {
    bool valid = false;
    RotationMatrix rotation;
    real zoom = 0.0L, panX = 0.0L, panY = 0.0L;
    int centreX = 0, centreY = 0;
    SlotArray<ScreenPoint> points{};

    bool IsUnder(const ViewState& view) const;
    // Under `view`; slots 1 to `projected` as the view's ScreenX and ScreenY have them.
    void Place(const Frame& frame, const ViewState& view, int projected);
  };
  std::vector<Frame> frames_;              // a ring of steps_ frames
  mutable std::vector<Placement> placed_;  // beside frames_
  int next_ = 0;                           // where the next frame goes
  int count_ = 0;
  int lastStep_ = -1;
};

}  // namespace velmora
