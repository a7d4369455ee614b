#include "ui/main/SceneCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "picture/RowBands.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

// A frame of a 60 Hz display. Painting each step of a run and handing it to the window system
// would cost the run more than its drawing is worth: nobody can see it.
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

const QImage& SceneCanvas::Image() const {
  PaintPending();
  return image_;
}

void SceneCanvas::Draw(const Model& model, const ViewState& view, const SceneLook& look, const TrailRecord* trails) {
  look_ = look;
  trails_ = trails;
  pending_ = Scene{&model, &view};
  RequestPresent();
}

void SceneCanvas::PaintPending() const {
  if (!pending_) return;
  RenderInto(image_, Source(*pending_->model, *pending_->view));
  pending_.reset();
}

void SceneCanvas::RequestPresent() {
  if (presentLater_->isActive()) return;
  const qint64 since = presented_.isValid() ? presented_.elapsed() : FrameMilliseconds;
  if (since >= FrameMilliseconds) Present();
  else presentLater_->start(static_cast<int>(FrameMilliseconds - since));
}

void SceneCanvas::Present() {
  PaintPending();
  presented_.start();
  update();
}

void SceneCanvas::paintEvent(QPaintEvent* event) {
  PaintPending();
  QPainter painter(this);
  DrawImageInRowBands(painter, event->rect(), image_);
}

void SceneCanvas::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->button(), event->position().toPoint());
}

void SceneCanvas::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->button(), event->position().toPoint());
}

void SceneCanvas::mouseMoveEvent(QMouseEvent* event) { emit MouseMoved(event->position().toPoint()); }

}  // namespace velmora
