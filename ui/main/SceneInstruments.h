#pragma once
// What makes the main window's picture an instrument: the particles picked with the mouse and
// what they measure, the look of the picture (dots or spheres, colour by a quantity, trails), the
// picture turning with the pointer while a button is held, and the status bar (step, steps a
// second, the document, the selection).
//
// The main window hands its mouse events, its redraws and its run's steps through here; the view
// commands themselves stay the window's, so that a release changes the view exactly as before.

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>

#include "measure/Selection.h"
#include "model/Model.h"
#include "picture/ScenePainter.h"
#include "sim/StepSettings.h"
#include "view/TrailRecord.h"
#include "view/ViewState.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;

namespace velmora {

class SceneCanvas;

class SceneInstruments : public QObject {
  Q_OBJECT

 public:
  SceneInstruments(QMainWindow& window, Model& model, ViewState& view, SceneCanvas& canvas,
                   std::function<LawSettings()> law, char separator);

  // Edit > Copy Selection and Clear Selection before the View menu, and View > Look, Sphere
  // Radius..., Colour By, Trails and Trail Steps... at the end of the View menu.
  void CreateMenus(QMenu& viewMenu);
  // The status bar below the window's client area, which keeps its size.
  void CreateStatusBar();

  // Draws what a redraw names with the window's switches and this look; while a button is held
  // over the scene, with the view the release would leave.
  void Draw(Redraw redraw, SceneLook look);

  // The mouse on the scene. Press and Release come before the window's own view commands see the
  // same event; Move only while a button is held.
  void Press(Qt::MouseButton button, QPoint position);
  void Move(QPoint position);
  void Release(Qt::MouseButton button, QPoint position, Qt::KeyboardModifiers modifiers);

  // After every step of a run: the trails record it; the status bar follows once per frame.
  void StepDone();
  // Another scene was read or the run stopped: the status bar now.
  void Refresh();
  // The scene was replaced or edited: the trails and the selection of the old one go.
  void SceneReplaced();

  // The trails while View > Trails is on, for View > History to draw them up to a kept step.
  TrailRecord* ShownTrails() { return trailsOn_ ? &trails_ : nullptr; }

  // The settings of the structure that Colour By and the readout of a picked particle show (the
  // Structure panel's).
  void SetStructure(const StructureSettings& settings);

  const Selection& Selected() const { return selection_; }
  // The status bar's texts.
  QString StatusText() const;

 signals:
  // A button is held and moved: the window redraws so that the picture follows.
  void RedrawNeeded();

 private:
  void ClearSelection();
  void CopySelection();
  void ChooseSphereRadius();
  void ChooseTrailSteps();
  void HoldColourRange();
  void UpdateStatus();
  void UpdateDocument();
  real PickRadius() const;

  QMainWindow& window_;
  Model& model_;
  ViewState& view_;
  SceneCanvas& canvas_;
  std::function<LawSettings()> law_;
  char separator_;

  Selection selection_;
  ParticleStyle style_ = ParticleStyle::Dots;
  real sphereRadius_ = DefaultSphereRadius;
  ColourBy colour_ = ColourBy::Group;
  StructureSettings structure_;
  std::optional<ValueRange> heldRange_;
  bool trailsOn_ = false;
  TrailRecord trails_{DefaultTrailSteps};

  // The drag in progress: its button, the slot under its press, and where the pointer is now.
  struct Drag {
    Qt::MouseButton button;
    QPoint pressed;
    int slot;
    QPoint now;
  };
  std::optional<Drag> drag_;
  // The scene and view a drag shows; the canvas reads them when it paints.
  Model dragModel_;
  ViewState dragView_;

  QLabel* stepLabel_ = nullptr;
  QLabel* rateLabel_ = nullptr;
  QLabel* documentLabel_ = nullptr;
  QLabel* selectionLabel_ = nullptr;
  QElapsedTimer shown_;      // since the status bar was last updated
  QElapsedTimer rateSince_;  // the steps-a-second measurement
  int rateFromStep_ = 0;
  QElapsedTimer documentChecked_;
};

}  // namespace velmora
