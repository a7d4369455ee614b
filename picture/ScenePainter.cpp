#include "picture/ScenePainter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "figures/SpiralFaces.h"
#include "measure/Picking.h"
#include "measure/StructureColours.h"
#include "picture/RowBands.h"
#include "picture/SphereStamp.h"
#include "text/NumberText.h"
#include "view/ColourMap.h"
#include "view/SceneColours.h"

namespace velmora {

namespace {

QColor Shade(const Colour& colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

constexpr int DotSize = 2;

// A selected particle's ring: this many pixels beyond the particle, this wide.
constexpr qreal RingGap = 3.0;
constexpr qreal RingWidth = 1.5;

// Trails fade in this many bands of age, each drawn as one aliased path per particle: a run
// redraws them every display frame, and smoothing them would cost the run more than it shows.
constexpr int TrailBands = 4;

// The colour bar at the area's right edge: its width and its margins.
constexpr int BarWidth = 12;
constexpr int BarMargin = 8;
constexpr int BarLabelGap = 4;
// The widest label ColourBarLabel writes: a sign, six digits and the point, and the exponent of
// the smallest long double. The bar's column is as wide whatever the labels read, so that it
// keeps its place during a run.
constexpr char WidestBarLabel[] = "-8.88888E-4951";

int LeastBarHeight(const QFontMetrics& metrics) { return 2 * BarMargin + 3 * metrics.height() + 2; }

// The middle of a particle's dot, about which its sphere and its ring are drawn.
QPointF Middle(const ViewState& view, int slot) {
  return QPointF(view.ScreenX[slot] + DotRadius, view.ScreenY[slot] + DotRadius);
}

// A sphere's radius in canvas pixels.
qreal SphereRadiusOnCanvas(const ViewState& view, const SceneLook& look) {
  return static_cast<qreal>(std::fabs(look.SphereRadius * view.Zoom / 2.0L));
}

// Darker towards black by -f (f from -1 to 0).
QColor Toward(const QColor& c, qreal f) {
  return QColor::fromRgbF(c.redF() * (1 + f), c.greenF() * (1 + f), c.blueF() * (1 + f));
}

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

int ScenePainter::ColourBarHeight() { return LeastBarHeight(QFontMetrics(LabelFont())); }

ScenePainter::ScenePainter(QPainter& painter, QSize area, int scale)
    : painter_(painter),
      area_(area),
      scale_(scale),
      edgeOffset_(scale == 1 && painter.paintEngine()->type() == QPaintEngine::Raster ? 0.0 : 0.5) {
  painter_.scale(scale, scale);
  painter_.setFont(LabelFont());
}

void ScenePainter::Paint(const Model& model, const ViewState& view, const SceneLook& look,
                         const TrailRecord* trails) {
  Clear();
  switch (look.What) {
    case Redraw::None:
    case Redraw::Black:
      return;
    case Redraw::Figure:
      DrawFigureEdges(view, look.ShowNumbers);
      return;
    case Redraw::Particles:
      DrawParticles(model, view, look, trails);
      return;
  }
}

// Each present slot's colour: its group's or parity's, or its quantity's place on viridis.
void ScenePainter::DrawParticles(const Model& model, const ViewState& view, const SceneLook& look,
                                 const TrailRecord* trails) {
  SlotArray<QColor> colours;
  const SlotArray<real> values = ParticleValues(model, {look.Functions3X1, look.Taoscope}, look.Colour);
  const ValueRange range = look.HeldRange ? *look.HeldRange : PresentRange(model, values);
  const bool kinds = look.Colour != ColourBy::Group && !IsQuantity(look.Colour);
  const StructureColouring structure =
      kinds ? StructureColours(model, look.Colour, look.Structure) : StructureColouring{};
  for (int i = 1; i <= model.N; ++i) {
    if (kinds)
      colours[i] = Shade(structure.Colours[i]);
    else if (IsQuantity(look.Colour))
      colours[i] = Shade(Viridis(RangeFraction(values[i], range.Least, range.Greatest)));
    else
      colours[i] = Shade(look.Taoscope ? TaoscopeColour(i) : GravoscopeColour(model.N, i));
  }
  if (trails) DrawTrails(model, view, *trails, colours);
  if (look.Style == ParticleStyle::Spheres)
    DrawSpheres(model, view, look, colours);
  else
    DrawDots(model, view, look, colours);
  DrawRings(model, view, look, colours);
  if (kinds) DrawLegend(look, structure.Legend);
  if (IsQuantity(look.Colour)) DrawColourBar(look, range.Least, range.Greatest);
}

// The image the painter draws on when spheres can be stamped on it; none on a vector device.
QImage* ScenePainter::StampableImage() const {
  QPaintDevice* device = painter_.device();
  if (device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  return SphereStamp::Takes(*image) ? image : nullptr;
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

void ScenePainter::DrawDots(const Model& model, const ViewState& view, const SceneLook& look,
                            const SlotArray<QColor>& colours) {
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    const int sx = view.ScreenX[i];
    const int sy = view.ScreenY[i];
    // Far-off positions saturate at the int range's ends (see Round); beyond the area's right or
    // bottom edge nothing of the dot or its label shows, and sx + 2 cannot wrap round.
    if (sx >= area_.width() || sy >= area_.height()) continue;
    if (sx > -DotSize && sy > -DotSize) painter_.fillRect(QRect(sx, sy, DotSize, DotSize), colours[i]);
    if (look.ShowNumbers) DrawLabel(sx + DotSize, sy + DotSize, i, colours[i]);
  }
}

// Farthest first, so that nearer spheres cover farther ones. The light comes from the upper left
// and in front: a highlight there, the rim darker; farther spheres are a little darker still.
// On an image the spheres are stamped (SphereStamp), on a vector device drawn as ellipses.
void ScenePainter::DrawSpheres(const Model& model, const ViewState& view, const SceneLook& look,
                               const SlotArray<QColor>& colours) {
  struct Placed {
    int slot;
    real depth;
  };
  std::vector<Placed> order;
  for (int i = 1; i <= model.N; ++i)
    if (model.Present[i]) order.push_back({i, Depth(model, view, i)});
  std::stable_sort(order.begin(), order.end(),
                   [](const Placed& a, const Placed& b) { return a.depth < b.depth; });
  if (order.empty()) return;
  const real nearest = order.back().depth, farthest = order.front().depth;
  const qreal radius = SphereRadiusOnCanvas(view, look);
  const QRectF area(QPointF(0, 0), QSizeF(area_));
  // The shading is one gradient for every sphere, laid over its flat colour: white towards the
  // highlight, clear in between, black towards the rim. Relative to each sphere's box it is the
  // same gradient, whose colour table the paint engine builds once.
  QRadialGradient shading(QPointF(0.5, 0.5), 0.5, QPointF(0.5 - 1.0 / 6, 0.5 - 1.0 / 6));
  shading.setCoordinateMode(QGradient::ObjectMode);
  shading.setColorAt(0.0, QColor(255, 255, 255, 153));
  shading.setColorAt(0.5, QColor(255, 255, 255, 0));
  shading.setColorAt(0.51, QColor(0, 0, 0, 0));
  shading.setColorAt(1.0, QColor(0, 0, 0, 140));
  QImage* image = radius * scale_ <= SphereStamp::MostRadius ? StampableImage() : nullptr;
  const std::optional<SphereStamp> stamp =
      image ? std::optional<SphereStamp>(std::in_place, radius * scale_, shading) : std::nullopt;
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setPen(Qt::NoPen);
  for (const Placed& p : order) {
    const QPointF centre = Middle(view, p.slot);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    if (!box.intersects(area)) continue;
    // The depth cue: the farthest sphere at 70 % of its colour's strength, the nearest at 100 %.
    const qreal cue = static_cast<qreal>(RangeFraction(p.depth, farthest, nearest));
    const QColor colour = Toward(colours[p.slot], -0.3 * (1 - cue));
    if (stamp) {
      stamp->Stamp(*image, (centre * scale_).toPoint(), colour.rgb(), QRect(QPoint(0, 0), area_ * scale_));
      continue;
    }
    painter_.setBrush(colour);
    painter_.drawEllipse(box);
    painter_.setBrush(shading);
    painter_.drawEllipse(box);
  }
  painter_.restore();
  if (!look.ShowNumbers) return;
  for (const Placed& p : order) {
    const int sx = view.ScreenX[p.slot], sy = view.ScreenY[p.slot];
    if (sx < area_.width() && sy < area_.height())
      DrawLabel(sx + DotSize, sy + DotSize, p.slot, colours[p.slot]);
  }
}

// Each particle's path through its recorded positions, the newest part strongest; a slot's path
// breaks where it was absent.
void ScenePainter::DrawTrails(const Model& model, const ViewState& view, const TrailRecord& trails,
                              const SlotArray<QColor>& colours) {
  const int count = trails.Size();
  if (count < 2) return;
  std::vector<const SlotArray<ScreenPoint>*> placed(static_cast<std::size_t>(count));
  for (int age = 0; age < count; ++age) placed[static_cast<std::size_t>(age)] = &trails.Placed(age, view);
  painter_.save();
  // Through the dots' middles; positions far off saturate at the int range's ends, where adding
  // to them would wrap.
  painter_.translate(static_cast<qreal>(DotRadius), static_cast<qreal>(DotRadius));
  std::vector<QPoint> points;
  points.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    int kept = 0;
    while (kept < count && trails.Ago(kept).Present[i]) ++kept;
    const int last = kept - 1;
    for (int band = 0; band < TrailBands && last > 0; ++band) {
      const int from = band * last / TrailBands, to = (band + 1) * last / TrailBands;
      if (to <= from) continue;
      // A particle moves less than a pixel in most steps: one point per pixel it passed.
      points.clear();
      for (int age = from; age <= to; ++age) {
        const ScreenPoint s = (*placed[static_cast<std::size_t>(age)])[i];
        const QPoint p(s.X, s.Y);
        if (points.empty() || points.back() != p) points.push_back(p);
      }
      if (points.size() == 1) points.push_back(points.back());
      QColor c = colours[i];
      c.setAlphaF(1.0 - (band + 0.5) / TrailBands);
      painter_.setPen(QPen(c, 1));
      painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
  }
  painter_.restore();
}

void ScenePainter::DrawRings(const Model& model, const ViewState& view, const SceneLook& look,
                             const SlotArray<QColor>& colours) {
  if (look.Selected.empty()) return;
  const qreal radius =
      (look.Style == ParticleStyle::Spheres ? SphereRadiusOnCanvas(view, look) : qreal(DotRadius)) + RingGap;
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setBrush(Qt::NoBrush);
  for (int slot : look.Selected) {
    if (slot < 1 || slot > model.N || !model.Present[slot]) continue;
    painter_.setPen(QPen(colours[slot], RingWidth));
    painter_.drawEllipse(Middle(view, slot), radius, radius);
  }
  painter_.restore();
}

// A bar of the map from the least value (bottom) to the greatest (top), named above, with the two
// ends' values beside it, at the area's right edge below whatever covers that column.
void ScenePainter::DrawColourBar(const SceneLook& look, real least, real greatest) {
  const QFontMetrics metrics = painter_.fontMetrics();
  const QString title = QString::fromLatin1(ColourByName(look.Colour));
  const int barColumn =
      metrics.horizontalAdvance(QString::fromLatin1(WidestBarLabel)) + BarLabelGap + BarWidth;
  const int clear = ClearTopOf(std::max(metrics.horizontalAdvance(title), barColumn), look.Covered);
  if (area_.height() - clear < LeastBarHeight(metrics)) return;
  const int titleTop = clear + BarMargin;
  const int top = titleTop + metrics.height() + 2;
  const int bottom = area_.height() - BarMargin;
  const int left = area_.width() - BarMargin - BarWidth;
  QLinearGradient map(0, bottom, 0, top);
  for (int k = 0; k <= 8; ++k) map.setColorAt(k / 8.0, Shade(Viridis(k / 8.0L)));
  painter_.fillRect(QRect(left, top, BarWidth, bottom - top), map);
  painter_.setPen(Shade(palette::White));
  const QRect text(0, 0, left - BarLabelGap, area_.height());
  painter_.drawText(QRect(0, titleTop, area_.width() - BarMargin, metrics.height()),
                    Qt::AlignRight | Qt::AlignTop, title);
  // On a black box each, so that they read over the particles.
  const auto label = [&](const QRect& room, int alignment, real value) {
    const QString shown = ColourBarLabel(value, look.Separator);
    const int width = metrics.horizontalAdvance(shown);
    const int y = alignment & Qt::AlignBottom ? room.bottom() + 1 - metrics.height() : room.top();
    const QRect box(room.right() + 1 - width, y, width, metrics.height());
    painter_.fillRect(box, Shade(SceneBackground));
    painter_.drawText(box, alignment, shown);
  };
  label(text.adjusted(0, top, 0, 0), Qt::AlignRight | Qt::AlignTop, greatest);
  label(text.adjusted(0, 0, 0, -BarMargin), Qt::AlignRight | Qt::AlignBottom, least);
}

// The first row below every covered part of a column `width` pixels wide at the area's right edge.
int ScenePainter::ClearTopOf(int width, const std::vector<QRect>& covered) const {
  const QRect column(area_.width() - BarMargin - width, 0, width + BarMargin, area_.height());
  int top = 0;
  for (const QRect& place : covered)
    if (place.intersects(column)) top = std::max(top, place.bottom() + 1);
  return top;
}

// The legend at the area's right edge below whatever covers its column: the title, then one row
// per entry, its name on a black box left of a square of its colour; rows that would pass the
// area's bottom are left out.
void ScenePainter::DrawLegend(const SceneLook& look, const std::vector<LegendEntry>& legend) {
  const QFontMetrics metrics = painter_.fontMetrics();
  const QString title = QString::fromLatin1(ColourByName(look.Colour));
  int width = metrics.horizontalAdvance(title);
  for (const LegendEntry& entry : legend)
    width = std::max(width,
                     metrics.horizontalAdvance(QString::fromStdString(entry.Name)) + BarLabelGap + BarWidth);
  const int rowHeight = metrics.height();
  int top = ClearTopOf(width, look.Covered) + BarMargin;
  const int right = area_.width() - BarMargin;
  if (top + rowHeight > area_.height()) return;
  painter_.setPen(Shade(palette::White));
  const QRect titleBox(right - metrics.horizontalAdvance(title), top, metrics.horizontalAdvance(title),
                       rowHeight);
  painter_.fillRect(titleBox, Shade(SceneBackground));
  painter_.drawText(titleBox, Qt::AlignRight | Qt::AlignTop, title);
  for (const LegendEntry& entry : legend) {
    top += rowHeight + 2;
    if (top + rowHeight > area_.height() - BarMargin) return;
    const int square = std::min(BarWidth, rowHeight);
    painter_.fillRect(QRect(right - BarWidth, top + (rowHeight - square) / 2, BarWidth, square),
                      Shade(entry.Shade));
    const QString name = QString::fromStdString(entry.Name);
    const int nameWidth = metrics.horizontalAdvance(name);
    const QRect box(right - BarWidth - BarLabelGap - nameWidth - 1, top, nameWidth + 1, rowHeight);
    painter_.fillRect(box, Shade(SceneBackground));
    painter_.drawText(box, Qt::AlignRight | Qt::AlignTop, name);
  }
}

QString ColourBarLabel(real value, char separator) {
  QString text = QString::number(static_cast<double>(value), 'g', 6).toUpper();
  const qsizetype e = text.indexOf(QLatin1Char('E'));
  if (e >= 0) {
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    exponent.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
    text = text.left(e + 1) + (negative ? QStringLiteral("-") : QString()) + exponent;
  }
  return text.replace(QLatin1Char('.'), QLatin1Char(separator));
}

void ScenePainter::DrawFigureEdges(const ViewState& view, bool showNumbers) {
  const auto point = [&](int k) {
    return QPointF(view.ScreenX[k] + edgeOffset_, view.ScreenY[k] + edgeOffset_);
  };
  for (const FigureEdge& edge : FigureEdges()) {
    // One canvas pixel wide; aliased, as the canvas draws it, at every scale.
    painter_.setPen(QPen(Shade(edge.Pen), 1));
    painter_.drawLine(point(edge.From), point(edge.To));
  }
  if (!showNumbers) return;
  for (int k = 1; k <= SpiralPointCount; ++k)
    DrawLabel(view.ScreenX[k], view.ScreenY[k], k, Shade(FigureLabelColour));
}

}  // namespace velmora
