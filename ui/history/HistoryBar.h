#pragma once
// View > History: the bar under the picture over the steps the window's runs kept. The slider,
// first, back, forward and last, and play at a chosen number of steps a second show a kept step
// as the scene: the picture, the listing, the status bar and the picked particles' readout
// follow it. The scene as it stood waits aside and comes back before any command that changes
// the scene (a run goes on from it); "Resume from Here" makes the shown step the scene instead,
// as one entry of Edit > Undo, and forgets the steps kept after it. "Keep" sets how many steps
// the ring holds (a new number forgets those kept).
//
// File > Open Trajectory... puts a trajectory file's frames in the bar's hands in place of the
// kept steps, read from the file as they are shown; a trajectory is only looked at (no Keep),
// but for a frame with velocities, which Resume from Here makes the scene once the user confirms
// it. It stays until a run ends, a frame is resumed from or a document is opened.

#include <QWidget>
#include <memory>
#include <optional>

#include "documents/XyzFrameIndex.h"
#include "history/RunRing.h"
#include "model/Model.h"
#include "view/TrailRecord.h"

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;

namespace velmora {

class SceneUndo;

class HistoryBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int DefaultStepsPerSecond = 25;
  static constexpr int MostKept = 100000;

  HistoryBar(Model& model, RunRing& ring, SceneUndo& undo, QWidget* parent);

  // A run ended: the slider spans the kept steps and stands at the last.
  void RunEnded();
  // The trajectory's frames take the kept steps' place, the first one shown.
  void PlayTrajectory(std::unique_ptr<XyzFrameIndex> trajectory);
  bool PlaysTrajectory() const { return trajectory_ != nullptr; }
  // Kept step or frame k (0 the oldest) becomes what the window shows; not while a figure is
  // shown. A frame that cannot be read throws its error with its frame and line.
  void Show(int k);
  // The kept step shown, or the last one.
  int Shown() const;
  // The kept steps or the trajectory's frames.
  int Count() const;
  // Play's rate.
  int StepsPerSecond() const;
  // The trails as a run drew them at the kept step shown: its own and the steps before it; none
  // for the scene itself or a trajectory.
  void RetraceTrails(TrailRecord& trails) const;
  // The shown step becomes the scene; the steps after it are forgotten.
  void ResumeFromHere();
  bool ShowsKeptStep() const { return live_.has_value(); }
  // The scene comes back in place of the kept step shown.
  void ReturnToScene();

 signals:
  // Another scene is shown: the window shows it.
  void SceneShown();

 private:
  void createControls();
  void Refill();
  XyzFrame ReadFrame(int k);
  void ShowFrame(int k);
  void PlaceFrame(const XyzFrame& frame, int k);
  void ResumeFromFrame();
  void StepBy(int delta);
  void PlayClick();
  void PlayTimerTimer();
  void StopPlaying();
  void KeepChanged(int steps);
  void Forget();
  void UpdateLabel();

  Model& model_;
  RunRing& ring_;
  SceneUndo& undo_;
  // The scene while a kept step is shown in its place.
  std::optional<SceneState> live_;
  std::unique_ptr<XyzFrameIndex> trajectory_;
  bool frameWithVelocities_ = false;  // the trajectory's frame shown

  QSlider* Slider = nullptr;
  QToolButton* First = nullptr;
  QToolButton* Back = nullptr;
  QToolButton* Forward = nullptr;
  QToolButton* Last = nullptr;
  QToolButton* Play = nullptr;
  QSpinBox* Rate = nullptr;
  QLabel* StepLabel = nullptr;
  QPushButton* Resume = nullptr;
  QSpinBox* Keep = nullptr;
  QTimer* PlayTimer = nullptr;
};

}  // namespace velmora
