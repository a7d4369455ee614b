#include "ui/observables/ObservablesChart.h"

#include <QPainter>
#include <algorithm>

#include "chart/ChartScale.h"
#include "model/Round.h"
#include "picture/RowBands.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

QString Label(real value, char separator) { return QString::fromStdString(FormatReal(value, separator)); }

// The common range of some quantities, or nothing when none has a finite value yet.
std::optional<Extent> RangeOf(const ChartRecord& record, const std::vector<Quantity>& quantities) {
  std::optional<Extent> range;
  for (Quantity q : quantities) {
    const std::optional<Extent> e = record.Range(q);
    if (!e) continue;
    if (!range)
      range = e;
    else
      range = Extent{std::min(range->least, e->least), std::max(range->greatest, e->greatest)};
  }
  return range;
}

std::string NamesOf(const std::vector<Quantity>& quantities) {
  std::string names;
  for (Quantity q : quantities)
    names += (names.empty() ? "" : ", ") + std::string(QuantityNames[static_cast<int>(q)]);
  return names;
}

// A position on the chart at the device pixel nearest it.
qreal Snapped(real position, int scale) { return static_cast<qreal>(Round(position * scale)) / scale; }

constexpr int Margin = 4;

// A value axis's title on the line above its panel, from the panel's left edge, cut short to its
// width.
void DrawTitle(QPainter& painter, const QString& title, const QRect& plot) {
  const QFontMetrics metrics = painter.fontMetrics();
  painter.drawText(plot.left(), plot.top() - metrics.descent() - Margin,
                   metrics.elidedText(title, Qt::ElideRight, plot.width()));
}

}  // namespace

ObservablesChart::ObservablesChart(const ChartRecord& record, char separator, QWidget* parent)
    : QWidget(parent), record_(record), separator_(separator) {
  setObjectName(QStringLiteral("Chart"));
  // Render covers every pixel: nothing behind the chart needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 200);
}

QColor ObservablesChart::ColourOf(Quantity q) {
  static const QColor colours[QuantityCount] = {
      QColor(200, 0, 0),  QColor(0, 0, 200),   QColor(0, 0, 0),     QColor(0, 150, 0),  QColor(190, 150, 0),
      QColor(230, 90, 0), QColor(140, 0, 160), QColor(0, 150, 160), QColor(120, 80, 40)};
  return colours[static_cast<int>(q)];
}

void ObservablesChart::SetPicked(const std::array<bool, QuantityCount>& picked) {
  picked_ = picked;
  update();
}

void ObservablesChart::ShowLatest() {
  latest_ = record_.Empty() ? std::nullopt : std::optional<Observables>(record_.Latest().values);
  update();
}

QString ObservablesChart::LatestText(Quantity q) const {
  return latest_ ? Label((*latest_)[q], separator_) : QString();
}

void ObservablesChart::SetSeparate(bool separate) {
  separate_ = separate;
  update();
}

void ObservablesChart::MarkStep(std::optional<int> step) {
  marked_ = step;
  update();
}

void ObservablesChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Render(painter, size());
}

std::vector<Quantity> ObservablesChart::PickedQuantities() const {
  std::vector<Quantity> picked;
  for (int q = 0; q < QuantityCount; ++q)
    if (picked_[q]) picked.push_back(static_cast<Quantity>(q));
  return picked;
}

// One panel for all picked quantities, or with separate scales one for each, stacked from `top`
// to `bottom` with a line between them for the next one's title, which also keeps the tick labels
// at the panels' edges apart; each value axis with as many ticks as its height holds.
std::vector<ObservablesChart::Panel> ObservablesChart::Panels(int top, int bottom, int line) const {
  const std::vector<Quantity> picked = PickedQuantities();
  std::vector<std::vector<Quantity>> groups;
  if (separate_)
    for (Quantity q : picked) groups.push_back({q});
  if (groups.empty()) groups.push_back(picked);
  const std::vector<Band> bands = StackPanels(top, bottom, static_cast<int>(groups.size()), line + Margin);
  std::vector<Panel> panels;
  for (std::size_t p = 0; p < groups.size(); ++p) {
    const int ticks = std::max(2, (bands[p].bottom - bands[p].top) / (2 * line));
    const std::optional<Extent> range = RangeOf(record_, groups[p]);
    panels.push_back({groups[p], bands[p],
                      range ? NiceAxis(range->least, range->greatest, ticks) : NiceAxis(0.0L, 1.0L, 2)});
  }
  return panels;
}

void ObservablesChart::Render(QPainter& painter, QSize size, int scale) const {
  painter.save();
  painter.scale(scale, scale);
  FillInRowBands(painter, QRect(QPoint(0, 0), size), Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  const int top = DrawLegend(painter, size.width()) + line + Margin;  // the first title above
  const int bottom = size.height() - 2 * line - 8;
  const std::vector<Panel> panels = Panels(top, bottom, line);

  int labelWidth = 0;
  for (const Panel& panel : panels)
    for (real label : panel.axis.labels)
      labelWidth = std::max(labelWidth, metrics.horizontalAdvance(Label(label, separator_)));
  const int left = 2 * Margin + labelWidth + 6;
  const int right = size.width() - 16;
  const Band& lowest = panels.back().band;
  if (right - left < 10 || lowest.bottom - lowest.top < 10) {
    painter.restore();
    return;
  }

  // Steps are whole numbers: at least one step wide, and no tick between two of them.
  const real firstStep = record_.Empty() ? 0.0L : record_.FirstStep();
  const real lastStep =
      std::max(firstStep + 1.0L, record_.Empty() ? 1.0L : static_cast<real>(record_.LastStep()));
  const int stepLabelWidth = metrics.horizontalAdvance(Label(lastStep, separator_)) + 24;
  const real wholeSteps = lastStep - firstStep + 1.0L;
  const ChartAxis x = NiceAxis(firstStep, lastStep,
                               static_cast<int>(std::min<real>((right - left) / stepLabelWidth, wholeSteps)));

  for (const Panel& panel : panels) DrawPanel(painter, panel, left, right, x, scale);
  DrawStepAxis(painter, x, left, right, lowest.bottom, size.width());
  painter.restore();
}

// A panel's grid, frame, value ticks and title, then its quantities' curves within its frame.
void ObservablesChart::DrawPanel(QPainter& painter, const Panel& panel, int left, int right,
                                 const ChartAxis& x, int scale) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect plot(QPoint(left, panel.band.top), QPoint(right, panel.band.bottom));
  const ChartAxis& y = panel.axis;
  painter.setPen(QColor(225, 225, 225));
  for (real tick : y.ticks) {
    const int py = ToPixel(y, tick, plot.bottom(), plot.top());
    painter.drawLine(plot.left(), py, plot.right(), py);
  }
  for (real tick : x.ticks) {
    const int px = ToPixel(x, tick, plot.left(), plot.right());
    painter.drawLine(px, plot.top(), px, plot.bottom());
  }
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  for (std::size_t t = 0; t < y.ticks.size(); ++t) {
    const int py = ToPixel(y, y.ticks[t], plot.bottom(), plot.top());
    const QString text = Label(y.labels[t], separator_);
    painter.drawText(plot.left() - 6 - metrics.horizontalAdvance(text), py + metrics.ascent() / 2, text);
  }
  DrawTitle(painter, QString::fromStdString(AxisTitle(NamesOf(panel.quantities), y, separator_)), plot);

  if (record_.Empty()) return;
  painter.save();
  painter.setClipRect(plot.adjusted(0, 0, 1, 1));
  for (Quantity q : panel.quantities) DrawCurve(painter, q, plot, x, y, scale);
  if (marked_) {
    const int px = ToPixel(x, static_cast<real>(*marked_), plot.left(), plot.right());
    painter.setPen(QPen(Qt::darkGray, scale, Qt::DashLine));
    painter.drawLine(px, plot.top(), px, plot.bottom());
  }
  painter.restore();
}

// The step ticks' labels under the lowest panel, the last one kept inside the picture, and the
// axis's title below them at the right.
void ObservablesChart::DrawStepAxis(QPainter& painter, const ChartAxis& x, int left, int right, int bottom,
                                    int width) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  painter.setPen(Qt::black);
  for (real tick : x.ticks) {
    const QString text = Label(tick, separator_);
    const int textWidth = metrics.horizontalAdvance(text);
    const int at = LabelLeft(ToPixel(x, tick, left, right), textWidth, 0, width - 1 - Margin);
    painter.drawText(at, bottom + line + 2, text);
  }
  const QString title = QStringLiteral("step");
  painter.drawText(right - metrics.horizontalAdvance(title), bottom + 2 * line + 4, title);
}

// Every column that holds measurements gets a stroke from its least to its greatest value, and
// each end is joined to the same end of the column before. A picture drawn at a larger scale has
// as many more columns.
void ObservablesChart::DrawCurve(QPainter& painter, Quantity q, const QRect& plot, const ChartAxis& x,
                                 const ChartAxis& y, int scale) const {
  const qreal first = Snapped(ToPosition(x, record_.FirstStep(), plot.left(), plot.right()), scale);
  const qreal last = Snapped(ToPosition(x, record_.LastStep(), plot.left(), plot.right()), scale);
  const std::vector<std::optional<Extent>> columns = record_.Columns(q, qRound((last - first) * scale) + 1);
  // Round ends join the strokes of a picture drawn larger without corners sticking out.
  painter.setPen(QPen(ColourOf(q), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  std::optional<QPointF> lowBefore, highBefore;
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    if (!columns[c]) continue;
    const qreal px = first + static_cast<qreal>(c) / scale;
    const QPointF low(px, Snapped(ToPosition(y, columns[c]->least, plot.bottom(), plot.top()), scale));
    const QPointF high(px, Snapped(ToPosition(y, columns[c]->greatest, plot.bottom(), plot.top()), scale));
    if (lowBefore) {
      painter.drawLine(*lowBefore, low);
      painter.drawLine(*highBefore, high);
    }
    painter.drawLine(low, high);
    lowBefore = low;
    highBefore = high;
  }
}

// The picked quantities' colours and names, each with its latest value shown, in as many rows as the
// width needs; returns the legend's bottom.
int ObservablesChart::DrawLegend(QPainter& painter, int width) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height() + 4;
  const std::vector<Quantity> picked = PickedQuantities();
  std::vector<QString> texts;
  std::vector<int> widths;
  for (Quantity q : picked) {
    QString text = QString::fromLatin1(QuantityNames[static_cast<int>(q)]);
    if (latest_) text += QStringLiteral(" ") + LatestText(q);
    texts.push_back(text);
    widths.push_back(20 + metrics.horizontalAdvance(text));
  }
  const std::vector<LegendPlace> places = WrapLegend(widths, width - 4 * Margin, 16);
  painter.setPen(Qt::black);
  for (std::size_t e = 0; e < places.size(); ++e) {
    const int left = 2 * Margin + places[e].left;
    const int top = Margin + places[e].row * line;
    painter.fillRect(left, top + line / 2 - 2, 16, 4, ColourOf(picked[e]));
    painter.drawText(left + 20, top + metrics.ascent() + 2, texts[e]);
  }
  return Margin + std::max(LegendRows(places), 1) * line;
}

}  // namespace velmora
