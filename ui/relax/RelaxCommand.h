#pragma once
// Tools > Relax...: asks for the tolerance (the largest acceleration a present particle may keep)
// and the step limit, then brings the scene to rest by FIRE on the window's law (its switches as
// they stand), showing the step and the largest acceleration in the status bar once per display
// frame and the picture as it moves. "Stop" in the status bar (or Escape) ends it after the
// current step; meanwhile every other control waits. It ends with a line in the status bar naming
// the steps taken and the largest acceleration left. The scene afterwards, at rest, is one entry
// of Edit > Undo ("Relax"); a floating-point fault is reported as a run's is, and leaves the scene
// as the last good step left it.

#include <QObject>
#include <QString>
#include <functional>

#include "model/Model.h"
#include "sim/StepSettings.h"

class QMainWindow;
class QMenu;
class QToolButton;

namespace velmora {

class SceneUndo;

class RelaxCommand : public QObject {
  Q_OBJECT

 public:
  static constexpr real DefaultTolerance = 1.0e-6L;
  static constexpr int DefaultStepLimit = 10000;
  static constexpr int MostSteps = 100000000;

  struct Window {
    std::function<LawSettings()> law;
    std::function<bool()> running;  // a run is going
    int threads;
    char separator;
  };

  RelaxCommand(QMainWindow& window, Model& model, SceneUndo& undo, Window settings);

  // Tools > Relax... (Ctrl+R) in `tools`.
  void CreateMenu(QMenu& tools);

  bool Relaxing() const { return relaxing_; }
  // Test hook: "Stop" is clicked once this many steps are taken; 0 never.
  void SetStopAfterSteps(int steps) { stopAfterSteps_ = steps; }
  // The status bar's last line of a relaxation that ended.
  const QString& ResultText() const { return result_; }

 signals:
  // About once per display frame during a relaxation: the window draws the scene.
  void Stepped();
  // The relaxation ended (also by a fault): the scene is a new one.
  void Finished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RelaxClick();
  void Run(real tolerance, int stepLimit);
  void Watch(int steps, real largest);
  QString Number(real value) const;

  QMainWindow& window_;
  Model& model_;
  SceneUndo& undo_;
  Window settings_;
  real tolerance_ = DefaultTolerance;
  int stepLimit_ = DefaultStepLimit;
  bool relaxing_ = false;
  bool stopRequested_ = false;
  int stopAfterSteps_ = 0;
  QString result_;
  QToolButton* Stop = nullptr;
};

}  // namespace velmora
