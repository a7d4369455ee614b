#include "ui/SceneCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "view/SceneColours.h"

namespace velmora {

SceneCanvas::SceneCanvas(QWidget* parent) : QWidget(parent) {
  // The image covers every pixel of the widget: nothing behind it needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetAreaSize(QSize(1, 1));
}

void SceneCanvas::SetAreaSize(const QSize& size) {
  const QSize area = size.expandedTo(QSize(1, 1));
  if (image_.size() == area) return;
  image_ = QImage(area, QImage::Format_RGB32);
  image_.fill(qRgb(SceneBackground.Red, SceneBackground.Green, SceneBackground.Blue));
}

void SceneCanvas::ClearScene() {
  look_ = {};
  image_.fill(qRgb(SceneBackground.Red, SceneBackground.Green, SceneBackground.Blue));
  update();
}

void SceneCanvas::Draw(const Model& model, const ViewState& view, const SceneLook& look) {
  look_ = look;
  RenderInto(image_, Source(model, view));
  update();
}

void SceneCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

void SceneCanvas::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->button(), event->position().toPoint());
}

void SceneCanvas::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->button(), event->position().toPoint());
}

}  // namespace velmora
