#include "picture/RowBands.h"

#include <QPaintEngine>
#include <algorithm>

namespace velmora {

namespace {

// Qt splits an area of at least 96 rows (Qt 6.4); 64 stays clear of that however it rounds.
constexpr int BandRows = 64;

template <class PaintBand>
void ForEachBand(QPainter& painter, const QRect& area, PaintBand paintBand) {
  if (painter.paintEngine()->type() != QPaintEngine::Raster) {
    paintBand(area);
    return;
  }
  for (int top = area.top(); top <= area.bottom(); top += BandRows)
    paintBand(QRect(area.left(), top, area.width(), std::min(BandRows, area.bottom() + 1 - top)));
}

}  // namespace

void FillInRowBands(QPainter& painter, const QRect& area, const QColor& colour) {
  ForEachBand(painter, area, [&](const QRect& band) { painter.fillRect(band, colour); });
}

void DrawImageInRowBands(QPainter& painter, const QRect& area, const QImage& image) {
  ForEachBand(painter, area, [&](const QRect& band) { painter.drawImage(band, image, band); });
}

}  // namespace velmora
