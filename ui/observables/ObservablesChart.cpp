#include "ui/observables/ObservablesChart.h"

#include <QPainter>

#include <algorithm>

#include "chart/ChartScale.h"
#include "picture/RowBands.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

QString Label(real value, char separator) { return QString::fromStdString(FormatReal(value, separator)); }

// The picked quantities' common range, or nothing when none has a finite value yet.
std::optional<Extent> PickedRange(const ChartRecord& record, const std::array<bool, QuantityCount>& picked) {
  std::optional<Extent> range;
  for (int q = 0; q < QuantityCount; ++q) {
    if (!picked[q]) continue;
    const std::optional<Extent> e = record.Range(static_cast<Quantity>(q));
    if (!e) continue;
    if (!range) range = e;
    else range = Extent{std::min(range->least, e->least), std::max(range->greatest, e->greatest)};
  }
  return range;
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
      QColor(200, 0, 0),    QColor(0, 0, 200),   QColor(0, 0, 0),      QColor(0, 150, 0),    QColor(190, 150, 0),
      QColor(230, 90, 0),   QColor(140, 0, 160), QColor(0, 150, 160),  QColor(120, 80, 40)};
  return colours[static_cast<int>(q)];
}

void ObservablesChart::SetPicked(const std::array<bool, QuantityCount>& picked) {
  picked_ = picked;
  update();
}

void ObservablesChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Render(painter, size());
}

void ObservablesChart::Render(QPainter& painter, QSize size) const {
  FillInRowBands(painter, QRect(QPoint(0, 0), size), Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  const QRect legend(8, 4, size.width() - 16, line + 4);
  DrawLegend(painter, legend);

  const std::optional<Extent> range = PickedRange(record_, picked_);
  const ChartAxis y = range ? NiceAxis(range->least, range->greatest, std::max(2, (size.height() - 4 * line) / (2 * line)))
                            : NiceAxis(0.0L, 1.0L, 2);
  int labelWidth = 0;
  for (real tick : y.ticks) labelWidth = std::max(labelWidth, metrics.horizontalAdvance(Label(tick, separator_)));
  const QRect plot(QPoint(labelWidth + 12, legend.bottom() + line), QPoint(size.width() - 16, size.height() - 2 * line - 8));
  if (plot.width() < 10 || plot.height() < 10) return;

  // Steps are whole numbers: at least one step wide, and no tick between two of them.
  const real firstStep = record_.Empty() ? 0.0L : record_.FirstStep();
  const real lastStep = std::max(firstStep + 1.0L, record_.Empty() ? 1.0L : static_cast<real>(record_.LastStep()));
  const int stepLabelWidth = metrics.horizontalAdvance(Label(lastStep, separator_)) + 24;
  const real wholeSteps = lastStep - firstStep + 1.0L;
  const ChartAxis x = NiceAxis(firstStep, lastStep, static_cast<int>(std::min<real>(plot.width() / stepLabelWidth, wholeSteps)));

  // Grid, ticks and their labels.
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
  for (real tick : y.ticks) {
    const int py = ToPixel(y, tick, plot.bottom(), plot.top());
    const QString text = Label(tick, separator_);
    painter.drawText(plot.left() - 6 - metrics.horizontalAdvance(text), py + metrics.ascent() / 2, text);
  }
  for (real tick : x.ticks) {
    const int px = ToPixel(x, tick, plot.left(), plot.right());
    const QString text = Label(tick, separator_);
    painter.drawText(px - metrics.horizontalAdvance(text) / 2, plot.bottom() + line + 2, text);
  }
  painter.drawText(plot.right() - metrics.horizontalAdvance(QStringLiteral("step")), plot.bottom() + 2 * line + 4,
                   QStringLiteral("step"));

  if (record_.Empty()) return;
  painter.setClipRect(plot.adjusted(0, 0, 1, 1));
  for (int q = 0; q < QuantityCount; ++q)
    if (picked_[q]) DrawCurve(painter, static_cast<Quantity>(q), plot, x, y);
}

// Every column that holds measurements gets a stroke from its least to its greatest value, and
// each end is joined to the same end of the column before.
void ObservablesChart::DrawCurve(QPainter& painter, Quantity q, const QRect& plot, const ChartAxis& x,
                                 const ChartAxis& y) const {
  const int first = ToPixel(x, record_.FirstStep(), plot.left(), plot.right());
  const int last = ToPixel(x, record_.LastStep(), plot.left(), plot.right());
  const std::vector<std::optional<Extent>> columns = record_.Columns(q, last - first + 1);
  painter.setPen(QPen(ColourOf(q), 1));
  std::optional<QPoint> lowBefore, highBefore;
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    if (!columns[c]) continue;
    const QPoint low(first + c, ToPixel(y, columns[c]->least, plot.bottom(), plot.top()));
    const QPoint high(first + c, ToPixel(y, columns[c]->greatest, plot.bottom(), plot.top()));
    if (lowBefore) {
      painter.drawLine(*lowBefore, low);
      painter.drawLine(*highBefore, high);
    }
    painter.drawLine(low, high);
    lowBefore = low;
    highBefore = high;
  }
}

// The picked quantities' colours and names, each with its latest value.
void ObservablesChart::DrawLegend(QPainter& painter, const QRect& area) const {
  const QFontMetrics metrics = painter.fontMetrics();
  int left = area.left();
  for (int q = 0; q < QuantityCount; ++q) {
    if (!picked_[q]) continue;
    QString text = QString::fromLatin1(QuantityNames[q]);
    if (!record_.Empty()) text += QStringLiteral(" ") + Label(record_.Latest().values.values[q], separator_);
    painter.fillRect(left, area.top() + area.height() / 2 - 2, 16, 4, ColourOf(static_cast<Quantity>(q)));
    painter.setPen(Qt::black);
    painter.drawText(left + 20, area.top() + metrics.ascent() + 2, text);
    left += 20 + metrics.horizontalAdvance(text) + 16;
  }
}

}  // namespace velmora
