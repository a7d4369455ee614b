#pragma once
// The drawing area of the main window: an image the size of the area above the bottom panel,
// into which the scene routines paint. Painting the widget only copies that image to the screen,
// so a redraw costs the same whether the window system asks for it or a run step does.

#include <QImage>
#include <QWidget>

#include "model/Model.h"
#include "view/ViewState.h"

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
  // A 2 x 2 dot at (ScreenX, ScreenY) of every present slot, in slot order, coloured by parity
  // with Taoscope and by group with Gravoscope; with numbers, the slot number in the dot's colour
  // on a black box with its top-left corner at (sx + 2, sy + 2).
  void DrawDots(const Model& model, const ViewState& view, bool taoscope, bool showNumbers);
  // The figure's 51 edges between the projected points, then with numbers the lime labels
  // "1" .. "19" with their top-left corner on the point.
  void DrawFigureEdges(const ViewState& view, bool showNumbers);

 signals:
  // Presses and releases on the bare drawing surface, in the window's client coordinates.
  void MousePressed(Qt::MouseButton button, QPoint position);
  void MouseReleased(Qt::MouseButton button, QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetPixel(int x, int y, QRgb colour);
  void DrawLabel(QPainter& painter, int x, int y, int number, QRgb colour);

  QImage image_;
};

}  // namespace velmora
