#include "picture/SphereStamp.h"

#include <QBrush>
#include <QPainter>
#include <cmath>

namespace velmora {

namespace {

// (a * b) / 255, rounded, for 8-bit a and b.
int Scaled(int a, int b) {
  const int t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// The colour laid over `under` with coverage `cover`.
QRgb Covered(QRgb under, QRgb colour, int cover) {
  const auto part = [cover](int u, int c) { return u + Scaled(c - u, cover); };
  return qRgb(part(qRed(under), qRed(colour)), part(qGreen(under), qGreen(colour)),
              part(qBlue(under), qBlue(colour)));
}

// A premultiplied pixel laid over an opaque one.
QRgb Over(QRgb under, QRgb over) {
  const int keep = 255 - qAlpha(over);
  return qRgb(qRed(over) + Scaled(qRed(under), keep), qGreen(over) + Scaled(qGreen(under), keep),
              qBlue(over) + Scaled(qBlue(under), keep));
}

QImage Drawn(int size, QImage::Format format, qreal radius, const QBrush& brush) {
  QImage image(size, size, format);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(brush);
  const qreal middle = size / 2;
  painter.drawEllipse(QRectF(middle - radius, middle - radius, 2 * radius, 2 * radius));
  return image;
}

}  // namespace

SphereStamp::SphereStamp(qreal radius, const QBrush& shading)
    : half_(static_cast<int>(std::ceil(radius)) + 1),
      coverage_(Drawn(2 * half_, QImage::Format_Alpha8, radius, Qt::black)),
      shading_(Drawn(2 * half_, QImage::Format_ARGB32_Premultiplied, radius, shading)) {}

bool SphereStamp::Takes(const QImage& image) {
  return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied;
}

void SphereStamp::Stamp(QImage& image, QPoint centre, QRgb colour, const QRect& clip) const {
  const QPoint origin = centre - QPoint(half_, half_);
  const QRect box = QRect(origin, coverage_.size()).intersected(clip).intersected(image.rect());
  for (int y = box.top(); y <= box.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uchar* cover = coverage_.constScanLine(y - origin.y());
    const auto* shade = reinterpret_cast<const QRgb*>(shading_.constScanLine(y - origin.y()));
    for (int x = box.left(); x <= box.right(); ++x) {
      const int k = x - origin.x();
      if (cover[k] != 0) row[x] = Over(Covered(row[x], colour, cover[k]), shade[k]);
    }
  }
}

}  // namespace velmora
