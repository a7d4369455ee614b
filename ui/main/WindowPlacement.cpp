#include "ui/main/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velmora {

QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& screen) {
  const int roomRight = screen.right() - main.right();
  const int roomLeft = main.left() - screen.left();
  int left;
  if (roomRight >= size.width())
    left = main.right() + 1;
  else if (roomLeft >= size.width())
    left = main.left() - size.width();
  else if (roomRight > roomLeft)
    left = std::max(screen.left(), screen.right() + 1 - size.width());
  else
    left = screen.left();
  const int lowestTop = std::max(screen.top(), screen.bottom() + 1 - size.height());
  return QPoint(left, std::clamp(main.top(), screen.top(), lowestTop));
}

void MoveBeside(QWidget& window, const QWidget& main) {
  const QRect inner = main.geometry();
  const QRect outer = main.frameGeometry();
  const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                       outer.bottom() - inner.bottom());
  window.move(PlaceBeside(outer, window.size().grownBy(frame), main.screen()->availableGeometry()));
}

}  // namespace velmora
