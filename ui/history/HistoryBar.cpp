#include "ui/history/HistoryBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <type_traits>

#include "history/UndoHistory.h"
#include "model/AtomPlacement.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/history/SceneUndo.h"

namespace velmora {

namespace {

template <class T>
T* Make(QWidget* parent, QHBoxLayout* row, const char* name, const QString& text = {}) {
  T* control = new T(parent);
  control->setObjectName(QString::fromLatin1(name));
  if constexpr (std::is_base_of_v<QAbstractButton, T>) control->setText(text);
  row->addWidget(control);
  return control;
}

}  // namespace

HistoryBar::HistoryBar(Model& model, RunRing& ring, SceneUndo& undo, QWidget* parent)
    : QWidget(parent), model_(model), ring_(ring), undo_(undo) {
  setObjectName(QStringLiteral("HistoryBar"));
  // The bar lies over the black picture: it paints its own ground.
  setAutoFillBackground(true);
  createControls();
  connect(&undo_, &SceneUndo::AboutToChange, this, [this] { ReturnToScene(); });
  // Undo and Redo put a scene of their own in place of the step shown.
  connect(&undo_, &SceneUndo::Restored, this, [this] {
    live_.reset();
    Refill();
  });
  connect(&undo_, &SceneUndo::Cleared, this, [this] { Forget(); });
  Refill();
}

void HistoryBar::createControls() {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 1, 2, 1);
  First = Make<QToolButton>(this, row, "HistoryFirst", QStringLiteral("|<"));
  Back = Make<QToolButton>(this, row, "HistoryBack", QStringLiteral("<"));
  Play = Make<QToolButton>(this, row, "HistoryPlay", QStringLiteral("Play"));
  Play->setCheckable(true);
  Forward = Make<QToolButton>(this, row, "HistoryForward", QStringLiteral(">"));
  Last = Make<QToolButton>(this, row, "HistoryLast", QStringLiteral(">|"));
  Slider = Make<QSlider>(this, row, "HistorySlider");
  Slider->setOrientation(Qt::Horizontal);
  row->setStretchFactor(Slider, 1);
  StepLabel = Make<QLabel>(this, row, "HistoryStep");
  Rate = Make<QSpinBox>(this, row, "HistoryRate");
  Rate->setRange(1, 100);
  Rate->setValue(DefaultStepsPerSecond);
  Rate->setSuffix(QStringLiteral(" steps/s"));
  Resume = Make<QPushButton>(this, row, "HistoryResume", QStringLiteral("Resume from Here"));
  Keep = Make<QSpinBox>(this, row, "HistoryKeep");
  Keep->setRange(1, MostKept);
  Keep->setValue(ring_.Capacity());
  Keep->setPrefix(QStringLiteral("Keep "));
  Keep->setAccelerated(true);
  PlayTimer = new QTimer(this);

  const auto guarded = [](auto f) { return [f] { Guarded(f); }; };
  connect(Slider, &QSlider::valueChanged, this, [this](int k) { Guarded([&] { Show(k); }); });
  connect(First, &QToolButton::clicked, this, guarded([this] { Slider->setValue(0); }));
  connect(Back, &QToolButton::clicked, this, guarded([this] { StepBy(-1); }));
  connect(Forward, &QToolButton::clicked, this, guarded([this] { StepBy(1); }));
  connect(Last, &QToolButton::clicked, this, guarded([this] { Slider->setValue(Slider->maximum()); }));
  connect(Play, &QToolButton::clicked, this, guarded([this] { PlayClick(); }));
  connect(PlayTimer, &QTimer::timeout, this, guarded([this] { PlayTimerTimer(); }));
  connect(Rate, &QSpinBox::valueChanged, this, [this](int rate) { PlayTimer->setInterval(1000 / rate); });
  PlayTimer->setInterval(1000 / DefaultStepsPerSecond);
  connect(Resume, &QPushButton::clicked, this, guarded([this] { ResumeFromHere(); }));
  connect(Keep, &QSpinBox::editingFinished, this, guarded([this] { KeepChanged(Keep->value()); }));
}

void HistoryBar::RunEnded() {
  trajectory_.reset();
  Refill();
}

void HistoryBar::PlayTrajectory(std::unique_ptr<XyzFrameIndex> trajectory) {
  ReturnToScene();
  trajectory_ = std::move(trajectory);
  Refill();
  Show(0);
}

int HistoryBar::Count() const { return trajectory_ ? trajectory_->Frames() : ring_.Size(); }

void HistoryBar::Refill() {
  StopPlaying();
  {
    const QSignalBlocker quiet(Slider);
    Slider->setRange(0, std::max(Count() - 1, 0));
    Slider->setValue(Slider->maximum());
  }
  for (QWidget* control : std::initializer_list<QWidget*>{Slider, First, Back, Forward, Last, Play})
    control->setEnabled(Count() > 0);
  Resume->setEnabled(!trajectory_ && Count() > 0);
  Keep->setEnabled(!trajectory_);
  UpdateLabel();
}

int HistoryBar::Shown() const { return Slider->value(); }

int HistoryBar::StepsPerSecond() const { return Rate->value(); }

void HistoryBar::Show(int k) {
  if (k < 0 || k >= Count() || model_.SpiralShown) return;
  if (trajectory_) {
    ShowFrame(k);
  } else {
    if (!live_) live_ = model_.Scene();
    ring_.RestoreInto(model_, k);
  }
  if (Slider->value() != k) {
    const QSignalBlocker quiet(Slider);
    Slider->setValue(k);
  }
  UpdateLabel();
  emit SceneShown();
}

// A frame that cannot be read or placed stops Play before its error is reported.
XyzFrame HistoryBar::ReadFrame(int k) {
  try {
    return trajectory_->Frame(k);
  } catch (...) {
    StopPlaying();
    throw;
  }
}

void HistoryBar::ShowFrame(int k) {
  const XyzFrame frame = ReadFrame(k);
  const std::optional<SceneState> before = live_;
  if (!live_) live_ = model_.Scene();
  try {
    PlaceFrame(frame, k);
  } catch (...) {
    live_ = before;
    StopPlaying();
    throw;
  }
  frameWithVelocities_ = frame.withVelocities;
  Resume->setEnabled(frameWithVelocities_);
}

// The frame's atoms take the slots (the frame is read before anything changes); its Step key, or
// its number from 0 in the file, is the step count.
void HistoryBar::PlaceFrame(const XyzFrame& frame, int k) {
  PlaceAtoms(model_, frame.atoms, frame.withSlots);
  model_.StepCount = static_cast<int>(std::clamp<long long>(frame.step.value_or(k), INT_MIN, INT_MAX));
}

void HistoryBar::RetraceTrails(TrailRecord& trails) const {
  trails.Clear();
  if (!live_ || trajectory_) return;
  const int k = Shown();
  Model earlier = model_;
  for (int j = std::max(0, k - trails.Steps() + 1); j <= k; ++j) {
    ring_.RestoreInto(earlier, j);
    trails.Add(earlier);
  }
}

void HistoryBar::StepBy(int delta) { Slider->setValue(Slider->value() + delta); }

void HistoryBar::PlayClick() {
  if (!Play->isChecked()) {
    StopPlaying();
    return;
  }
  if (Shown() == Slider->maximum()) Slider->setValue(0);
  Play->setText(QStringLiteral("Pause"));
  PlayTimer->start();
}

void HistoryBar::PlayTimerTimer() {
  if (Shown() >= Slider->maximum()) {
    StopPlaying();
    return;
  }
  StepBy(1);
}

void HistoryBar::StopPlaying() {
  PlayTimer->stop();
  Play->setChecked(false);
  Play->setText(QStringLiteral("Play"));
}

void HistoryBar::ResumeFromHere() {
  if (trajectory_) {
    ResumeFromFrame();
    return;
  }
  if (!live_) return;
  StopPlaying();
  const int k = Shown();
  undo_.Command(ResumeEntryName(static_cast<std::uint64_t>(ring_.StepOf(k))),
                [&] { ring_.RestoreInto(model_, k); });
  ring_.DropAfter(k);
  Refill();
  emit SceneShown();
}

// A trajectory's frame with velocities becomes the scene, one entry of Edit > Undo, once the
// user agrees; the time step and the parameters stay the scene's.
void HistoryBar::ResumeFromFrame() {
  if (!live_ || !frameWithVelocities_) return;
  StopPlaying();
  const int k = Shown();
  if (!DialogProvider::Instance().Confirm(
          this, QStringLiteral(
                    "Frame %1 becomes the scene: its positions and velocities take the slots, and the time "
                    "step and the parameters stay. Go on?")
                    .arg(k + 1)))
    return;
  const XyzFrame frame = ReadFrame(k);
  trajectory_.reset();
  undo_.Command("Resume from Frame " + std::to_string(k + 1), [&] { PlaceFrame(frame, k); });
  Refill();
  emit SceneShown();
}

void HistoryBar::KeepChanged(int steps) {
  if (steps == ring_.Capacity()) return;
  ReturnToScene();
  ring_.SetCapacity(steps);
  Refill();
}

void HistoryBar::ReturnToScene() {
  if (!live_) return;
  model_.Scene() = *live_;
  live_.reset();
  Refill();
  emit SceneShown();
}

// Another document: the kept steps were another scene's.
void HistoryBar::Forget() {
  live_.reset();
  trajectory_.reset();
  ring_.Clear();
  Refill();
}

void HistoryBar::UpdateLabel() {
  if (Count() == 0)
    StepLabel->setText(QStringLiteral("No steps kept"));
  else if (trajectory_)
    StepLabel->setText(QStringLiteral("Frame %1 of %2").arg(Shown() + 1).arg(Count()));
  else
    StepLabel->setText(QStringLiteral("Step %1").arg(ring_.StepOf(Shown())));
}

}  // namespace velmora
