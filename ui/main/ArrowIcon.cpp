#include "ui/main/ArrowIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmora {

QIcon ArrowIcon(int degrees, ArrowStyle style, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(size / 2.0, size / 2.0);
  painter.rotate(-degrees);  // the painter's angles run clockwise on screen
  // An arrow pointing right within [-1, 1]: a shaft and a head twice the shaft's width.
  const qreal unit = size * 0.42;
  QPainterPath arrow;
  arrow.moveTo(-1.0 * unit, -0.28 * unit);
  arrow.lineTo(0.1 * unit, -0.28 * unit);
  arrow.lineTo(0.1 * unit, -0.7 * unit);
  arrow.lineTo(1.0 * unit, 0.0);
  arrow.lineTo(0.1 * unit, 0.7 * unit);
  arrow.lineTo(0.1 * unit, 0.28 * unit);
  arrow.lineTo(-1.0 * unit, 0.28 * unit);
  arrow.closeSubpath();
  painter.setPen(QPen(Qt::black, 1.2));
  painter.setBrush(style == ArrowStyle::Solid ? QColor(Qt::black) : QColor(Qt::white));
  painter.drawPath(arrow);
  return QIcon(pixmap);
}

}  // namespace velmora
