#pragma once
// Qt's raster engine hands a fill or an image copy of more than about a hundred rows to its
// global thread pool and waits until the pool is done. While a run is going the step's own
// threads hold every core, so the pool's threads must first be woken and then wait for a core:
// the copy of a canvas took several times its own work that way. Painting a large area in bands
// low enough for Qt to keep on the painting thread avoids the hand-over. Other paint devices
// (an SVG file) get the area in one piece.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace velmora {

// Fills `area` with `colour`.
void FillInRowBands(QPainter& painter, const QRect& area, const QColor& colour);

// Draws the part `area` of `image` at the same place.
void DrawImageInRowBands(QPainter& painter, const QRect& area, const QImage& image);

}  // namespace velmora
