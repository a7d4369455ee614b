#pragma once
// Where a window that belongs to the main window opens: beside it, so that it covers nothing of
// the main window's picture. Rectangles are outer frames in screen coordinates.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace velmora {

// The top-left corner of a frame of `size` touching `main`: right of it where `screen` (its
// free area) has room, else left of it, level with its top as far as the screen allows. Where
// neither side has room, against the screen's edge on the side with more room, so that it
// covers as little of the main window as it can.
QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& screen);

// Moves `window`, not shown yet, beside `main`, with a frame like the main window's.
void MoveBeside(QWidget& window, const QWidget& main);

}  // namespace velmora
