#include "ui/main/SceneCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "picture/RowBands.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

// Showing pictures takes at most this share of a run's time: a large window or a rich look shows
// fewer frames a second rather than slowing the run.
constexpr double PresentingShare = 0.05;

}  // namespace

SceneCanvas::SceneCanvas(QWidget* parent)
    : QWidget(parent), pacing_(PresentingShare), presentLater_(new QTimer(this)) {
  clock_.start();
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

void SceneCanvas::Draw(const Model& model, const ViewState& view, const SceneLook& look,
                       const TrailRecord* trails) {
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

double SceneCanvas::Now() const { return static_cast<double>(clock_.nsecsElapsed()) * 1e-9; }

void SceneCanvas::RequestPresent() {
  if (presentLater_->isActive()) return;
  const double frameDue = presented_ + FrameMilliseconds * 1e-3;
  const double wait = (running_ ? std::max(pacing_.DueAt(), frameDue) : frameDue) - Now();
  if (wait <= 0)
    Present();
  else
    presentLater_->start(static_cast<int>(std::ceil(wait * 1000)));
}

// The widget is painted at once: a paint event left for later would find the next step's scene
// pending and paint that too, twice in one frame.
void SceneCanvas::Present() {
  const double start = Now();
  PaintPending();
  repaint();
  presented_ = Now();
  pacing_.Measured(start, presented_);
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

// A wheel's notch is 120 eighths of a degree; finer wheels and touch pads add up to notches.
void SceneCanvas::wheelEvent(QWheelEvent* event) {
  constexpr int Notch = 120;
  wheelEighths_ += event->angleDelta().y();
  const int steps = wheelEighths_ / Notch;
  wheelEighths_ -= steps * Notch;
  event->accept();
  if (steps != 0) emit Wheeled(steps);
}

}  // namespace velmora
