#include "ui/SceneCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "picture/RowBands.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

// A screen shows a new picture about 60 times a second. A run draws several steps within one
// such frame, and handing each of them to the window system would cost the run more than the
// drawing itself: the image always holds the latest step, and the screen gets it once a frame.
constexpr int FrameMilliseconds = 16;

}  // namespace

SceneCanvas::SceneCanvas(QWidget* parent) : QWidget(parent), presentLater_(new QTimer(this)) {
  // The image covers every pixel of the widget: nothing behind it needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetAreaSize(QSize(1, 1));
  presentLater_->setSingleShot(true);
  connect(presentLater_, &QTimer::timeout, this, &SceneCanvas::Present);
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
  RequestPresent();
}

void SceneCanvas::Draw(const Model& model, const ViewState& view, const SceneLook& look) {
  look_ = look;
  RenderInto(image_, Source(model, view));
  RequestPresent();
}

void SceneCanvas::RequestPresent() {
  if (presentLater_->isActive()) return;
  const qint64 since = presented_.isValid() ? presented_.elapsed() : FrameMilliseconds;
  if (since >= FrameMilliseconds) Present();
  else presentLater_->start(static_cast<int>(FrameMilliseconds - since));
}

void SceneCanvas::Present() {
  presented_.start();
  update();
}

void SceneCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  DrawImageInRowBands(painter, event->rect(), image_);
}

void SceneCanvas::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->button(), event->position().toPoint());
}

void SceneCanvas::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->button(), event->position().toPoint());
}

}  // namespace velmora
