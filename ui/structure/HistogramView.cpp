#include "ui/structure/HistogramView.h"

#include <QPainter>

#include "chart/HistogramPlot.h"
#include "text/NumberText.h"

namespace velmora {

namespace {

// Room for the share labels on the left and the distance labels below.
constexpr int LeftMargin = 44;
constexpr int RightMargin = 10;
constexpr int TopMargin = 8;
constexpr int BottomMargin = 34;
const QColor BarColour(70, 130, 180);
const QColor CutoffColour(220, 0, 0);

QString Label(real value, char separator) { return QString::fromStdString(FormatReal(value, separator)); }

}  // namespace

HistogramView::HistogramView(char separator, QWidget* parent) : QWidget(parent), separator_(separator) {
  setObjectName(QStringLiteral("Histogram"));
  setMinimumSize(280, 160);
}

void HistogramView::SetHistogram(std::vector<real> shares, real binWidth, real cutoff) {
  shares_ = std::move(shares);
  binWidth_ = binWidth;
  cutoff_ = cutoff;
  update();
}

void HistogramView::Clear() {
  shares_.clear();
  update();
}

void HistogramView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (shares_.empty()) return;
  const int left = LeftMargin, right = width() - RightMargin, bottom = height() - BottomMargin,
            top = TopMargin;
  const HistogramPlot plot = PlotHistogram(shares_, binWidth_, cutoff_, left, right, bottom, top);
  for (const HistogramBar& bar : plot.bars)
    painter.fillRect(QRect(QPoint(bar.left, bar.top), QPoint(bar.right, bottom)), BarColour);
  painter.setPen(Qt::black);
  painter.drawLine(left, bottom, right, bottom);
  painter.drawLine(left, bottom, left, top);
  const QFontMetrics metrics = painter.fontMetrics();
  for (std::size_t k = 0; k < plot.distance.ticks.size(); ++k) {
    const int x = ToPixel(plot.distance, plot.distance.ticks[k], left, right);
    painter.drawLine(x, bottom, x, bottom + 3);
    const QString text = Label(plot.distance.labels[k], separator_);
    painter.drawText(x - metrics.horizontalAdvance(text) / 2, bottom + 4 + metrics.ascent(), text);
  }
  for (std::size_t k = 0; k < plot.share.ticks.size(); ++k) {
    const int y = ToPixel(plot.share, plot.share.ticks[k], bottom, top);
    painter.drawLine(left - 3, y, left, y);
    const QString text = Label(plot.share.labels[k], separator_);
    painter.drawText(left - 5 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2, text);
  }
  painter.drawText(QRect(left, height() - metrics.height(), right - left, metrics.height()), Qt::AlignCenter,
                   QStringLiteral("distance (share of pairs upwards)"));
  painter.setPen(QPen(CutoffColour, 2));
  painter.drawLine(plot.cutoff, bottom, plot.cutoff, top);
  painter.drawText(plot.cutoff + 3, top + metrics.ascent(), QStringLiteral("cutoff"));
}

}  // namespace velmora
