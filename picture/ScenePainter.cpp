#include "picture/ScenePainter.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include "figures/SpiralFaces.h"
#include "picture/RowBands.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

QColor Shade(const Colour& colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

constexpr int DotSize = 2;

}  // namespace

QFont ScenePainter::WindowFace() {
  // The window's face is MS Sans Serif 11 pixels high. Arial (Liberation Sans on Linux desktops)
  // has about its width; the font configuration falls back to the system's sans serif face.
  QFont face(QStringLiteral("Arial"));
  face.setPixelSize(11);
  return face;
}

QFont ScenePainter::LabelFont() {
  QFont labels = WindowFace();
  labels.setStyleStrategy(QFont::NoAntialias);
  return labels;
}

ScenePainter::ScenePainter(QPainter& painter, QSize area, int scale)
    : painter_(painter),
      area_(area),
      edgeOffset_(scale == 1 && painter.paintEngine()->type() == QPaintEngine::Raster ? 0.0 : 0.5) {
  painter_.scale(scale, scale);
  painter_.setFont(LabelFont());
}

void ScenePainter::Paint(const Model& model, const ViewState& view, const SceneLook& look) {
  Clear();
  switch (look.What) {
    case Redraw::None:
    case Redraw::Black: return;
    case Redraw::Figure: DrawFigureEdges(view, look.ShowNumbers); return;
    case Redraw::Particles: DrawDots(model, view, look.Taoscope, look.ShowNumbers); return;
  }
}

void ScenePainter::Clear() { FillInRowBands(painter_, QRect(QPoint(0, 0), area_), Shade(SceneBackground)); }

// The label's text box is black, as the canvas brush is after clearing: it may cover dots drawn
// for lower-numbered slots. Labels wholly off the area are left out.
void ScenePainter::DrawLabel(int x, int y, int number, const QColor& colour) {
  const QString text = QString::number(number);
  const QFontMetrics metrics = painter_.fontMetrics();
  const int width = metrics.horizontalAdvance(text);
  const int height = metrics.height();
  if (x >= area_.width() || y >= area_.height() || qint64{x} + width <= 0 || qint64{y} + height <= 0) return;
  const QRect box(x, y, width, height);
  painter_.fillRect(box, Shade(SceneBackground));
  painter_.setPen(colour);
  painter_.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

void ScenePainter::DrawDots(const Model& model, const ViewState& view, bool taoscope, bool showNumbers) {
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    const int sx = view.ScreenX[i];
    const int sy = view.ScreenY[i];
    // Far-off positions saturate at the int range's ends (see Round); beyond the area's right or
    // bottom edge nothing of the dot or its label shows, and sx + 2 cannot wrap round.
    if (sx >= area_.width() || sy >= area_.height()) continue;
    const QColor colour = Shade(taoscope ? TaoscopeColour(i) : GravoscopeColour(model.N, i));
    if (sx > -DotSize && sy > -DotSize) painter_.fillRect(QRect(sx, sy, DotSize, DotSize), colour);
    if (showNumbers) DrawLabel(sx + DotSize, sy + DotSize, i, colour);
  }
}

void ScenePainter::DrawFigureEdges(const ViewState& view, bool showNumbers) {
  const auto point = [&](int k) { return QPointF(view.ScreenX[k] + edgeOffset_, view.ScreenY[k] + edgeOffset_); };
  for (const FigureEdge& edge : FigureEdges()) {
    // One canvas pixel wide; aliased, as the canvas draws it, at every scale.
    painter_.setPen(QPen(Shade(edge.Pen), 1));
    painter_.drawLine(point(edge.From), point(edge.To));
  }
  if (!showNumbers) return;
  for (int k = 1; k <= SpiralPointCount; ++k) DrawLabel(view.ScreenX[k], view.ScreenY[k], k, Shade(FigureLabelColour));
}

}  // namespace velmora
