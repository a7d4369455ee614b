#include "ui/SceneCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "figures/SpiralFaces.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

QRgb Rgb(const Colour& colour) { return qRgb(colour.Red, colour.Green, colour.Blue); }

}  // namespace

SceneCanvas::SceneCanvas(QWidget* parent) : QWidget(parent) {
  // The image covers every pixel of the widget: nothing behind it needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Labels are drawn pixel for pixel in their colour, as the dots are, never blended into black.
  QFont labels = font();
  labels.setStyleStrategy(QFont::NoAntialias);
  setFont(labels);
  SetAreaSize(QSize(1, 1));
}

void SceneCanvas::SetAreaSize(const QSize& size) {
  const QSize area = size.expandedTo(QSize(1, 1));
  if (image_.size() == area) return;
  image_ = QImage(area, QImage::Format_RGB32);
  image_.fill(Rgb(SceneBackground));
}

void SceneCanvas::ClearScene() {
  image_.fill(Rgb(SceneBackground));
  update();
}

// Positions far off the area are common (a particle that flew away, a large zoom): pixels
// outside the image are simply not set.
void SceneCanvas::SetPixel(int x, int y, QRgb colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour;
}

// The label's text box is black, as the canvas brush is after clearing: it may cover dots drawn
// for lower-numbered slots.
void SceneCanvas::DrawLabel(QPainter& painter, int x, int y, int number, QRgb colour) {
  const QString text = QString::number(number);
  const QFontMetrics metrics = painter.fontMetrics();
  const int width = metrics.horizontalAdvance(text);
  const int height = metrics.height();
  if (x >= image_.width() || y >= image_.height() || qint64{x} + width <= 0 || qint64{y} + height <= 0) return;
  const QRect box(x, y, width, height);
  painter.fillRect(box, Rgb(SceneBackground));
  painter.setPen(QColor::fromRgb(colour));
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

void SceneCanvas::DrawDots(const Model& model, const ViewState& view, bool taoscope, bool showNumbers) {
  image_.fill(Rgb(SceneBackground));
  QPainter painter;
  if (showNumbers) {
    painter.begin(&image_);
    painter.setFont(font());
  }
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    const int sx = view.ScreenX[i];
    const int sy = view.ScreenY[i];
    // Far-off positions saturate at the int range's ends (see Round); beyond the area's right or
    // bottom edge nothing of the dot or its label shows, and sx + 2 cannot wrap round.
    if (sx >= image_.width() || sy >= image_.height()) continue;
    const QRgb colour = Rgb(taoscope ? TaoscopeColour(i) : GravoscopeColour(model.N, i));
    SetPixel(sx, sy, colour);
    SetPixel(sx + 1, sy, colour);
    SetPixel(sx, sy + 1, colour);
    SetPixel(sx + 1, sy + 1, colour);
    if (showNumbers) DrawLabel(painter, sx + 2, sy + 2, i, colour);
  }
  update();
}

void SceneCanvas::DrawFigureEdges(const ViewState& view, bool showNumbers) {
  image_.fill(Rgb(SceneBackground));
  QPainter painter(&image_);
  for (const FigureEdge& edge : FigureEdges()) {
    painter.setPen(QPen(QColor::fromRgb(Rgb(edge.Pen)), 0));  // cosmetic: one pixel wide
    painter.drawLine(QLineF(view.ScreenX[edge.From], view.ScreenY[edge.From], view.ScreenX[edge.To],
                            view.ScreenY[edge.To]));
  }
  if (showNumbers) {
    painter.setFont(font());
    for (int k = 1; k <= SpiralPointCount; ++k)
      DrawLabel(painter, view.ScreenX[k], view.ScreenY[k], k, Rgb(FigureLabelColour));
  }
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
