#pragma once
// The drawing area of the main window: an image the size of the area above the bottom panel,
// into which the scene is painted (ScenePainter). Painting the widget only copies that image to
// the screen, so a redraw costs the same whether the window system asks for it or a run step
// does, and the screen gets the latest image at most once per frame of the display. The canvas
// remembers what it drew last, so that File > Export Picture draws the same.

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "model/Model.h"
#include "picture/PictureFile.h"
#include "picture/ScenePainter.h"
#include "view/ViewState.h"

class QTimer;

namespace velmora {

class SceneCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit SceneCanvas(QWidget* parent);

  // The image follows the widget's size; a new image starts black.
  void SetAreaSize(const QSize& size);
  const QImage& Image() const { return image_; }

  // Fills the whole area black.
  void ClearScene();
  // Clears the area and paints what `look` names from the view's ScreenX and ScreenY.
  void Draw(const Model& model, const ViewState& view, const SceneLook& look);

  // The picture last drawn, for drawing it again on another device; `model` and `view` are the
  // ones it was drawn from.
  PictureSource Source(const Model& model, const ViewState& view) const { return {model, view, look_, image_.size()}; }

 signals:
  // Presses and releases on the bare drawing surface, in the window's client coordinates.
  void MousePressed(Qt::MouseButton button, QPoint position);
  void MouseReleased(Qt::MouseButton button, QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Has the image copied to the screen now, or at the next frame if one was shown lately.
  void RequestPresent();
  void Present();

  QImage image_;
  SceneLook look_;
  QElapsedTimer presented_;
  QTimer* presentLater_;
};

}  // namespace velmora
