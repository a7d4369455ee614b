#include "ui/main/Lamp.h"

#include <QPainter>

namespace velmora {

Lamp::Lamp(QWidget* parent, const QColor& brush) : QWidget(parent), brush_(brush) {}

void Lamp::SetBrush(const QColor& brush) {
  if (brush_ == brush) return;
  brush_ = brush;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int diameter = qMin(width(), height()) - 1;
  const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(brush_);
  painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace velmora
