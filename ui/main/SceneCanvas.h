#pragma once
// The drawing area of the main window: an image the size of the area above the bottom panel,
// into which the scene is painted (ScenePainter). Painting the widget only copies that image to
// the screen, so a redraw costs the same whether the window system asks for it or a run step
// does.
//
// A screen shows a new picture about 60 times a second, and a run asks for several within one
// such frame: the image is painted from the latest scene asked for when the frame is due, or
// earlier when someone reads it. During a run, frames come less often when showing them would
// take more than a twentieth of the run's time. The canvas remembers what it drew last, so that File > Export
// Picture draws the same.

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <limits>
#include <optional>

#include "chart/SamplePacing.h"
#include "model/Model.h"
#include "picture/PictureFile.h"
#include "picture/ScenePainter.h"
#include "view/ViewState.h"

class QTimer;

namespace velmora {

class SceneCanvas : public QWidget {
  Q_OBJECT

 public:
  // A frame of a 60 Hz display. Painting each step of a run and handing it to the window system
  // would cost the run more than its drawing is worth: nobody can see it.
  static constexpr int FrameMilliseconds = 16;

  explicit SceneCanvas(QWidget* parent);

  // The image follows the widget's size; a new image starts black.
  void SetAreaSize(const QSize& size);
  // The picture of the last Draw.
  const QImage& Image() const;

  // Clears the area and paints what `look` names from the view's ScreenX and ScreenY. Both
  // must live until the next Draw; they are read when the picture is painted. The trails' record,
  // when given, likewise.
  void Draw(const Model& model, const ViewState& view, const SceneLook& look,
            const TrailRecord* trails = nullptr);

  // While a run goes, showing frames takes at most a twentieth of its time; otherwise (turning
  // the view by hand) every display frame shows the latest picture.
  void SetRunning(bool running) { running_ = running; }

  // The picture last drawn, for drawing it again on another device; `model` and `view` are the
  // ones it was drawn from.
  PictureSource Source(const Model& model, const ViewState& view) const {
    return {model, view, look_, image_.size(), trails_};
  }

 signals:
  // Presses and releases on the bare drawing surface, in the window's client coordinates.
  void MousePressed(Qt::MouseButton button, QPoint position);
  void MouseReleased(Qt::MouseButton button, QPoint position);
  // The pointer moved while a button is held.
  void MouseMoved(QPoint position);
  // Whole steps of the mouse wheel, forwards (away from the user) positive.
  void Wheeled(int steps);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Has the image copied to the screen now, or at the next frame if one was shown lately.
  void RequestPresent();
  void Present();
  // Seconds on the canvas's own steady clock.
  double Now() const;
  // Paints the scene of a Draw not painted yet.
  void PaintPending() const;

  mutable QImage image_;
  SceneLook look_;
  const TrailRecord* trails_ = nullptr;
  struct Scene {
    const Model* model;
    const ViewState* view;
  };
  mutable std::optional<Scene> pending_;
  QElapsedTimer clock_;
  double presented_ = -std::numeric_limits<double>::infinity();  // when the last frame was shown
  SamplePacing pacing_;
  bool running_ = false;
  QTimer* presentLater_;
  int wheelEighths_ = 0;  // of a degree, turned and not yet a whole step
};

}  // namespace velmora
