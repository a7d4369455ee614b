#include "picture/PictureFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include "documents/SafeWrite.h"

namespace velmora {

namespace {

// Vector sizes in CSS pixels: one canvas pixel is one unit of the drawing.
constexpr int SvgResolution = 96;

}  // namespace

void RenderInto(QImage& image, const PictureSource& source, int scale) {
  QPainter painter(&image);
  ScenePainter(painter, source.Area, scale).Paint(source.Scene, source.View, source.Look, source.Trails);
}

QImage RenderImage(const PictureSource& source, int scale) {
  QImage image(source.Area * scale, QImage::Format_RGB32);
  RenderInto(image, source, scale);
  return image;
}

QByteArray PngBytes(const QImage& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  writer.setQuality(quality);
  writer.write(image);
  return bytes;
}

QByteArray SvgBytes(const PictureSource& source) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(SvgResolution);
  generator.setSize(source.Area);
  generator.setViewBox(QRect(QPoint(0, 0), source.Area));
  generator.setTitle(QStringLiteral("Velmora scene"));
  generator.setDescription(QStringLiteral("Drawn by Velmora"));
  QPainter painter(&generator);
  ScenePainter(painter, source.Area).Paint(source.Scene, source.View, source.Look, source.Trails);
  painter.end();
  return bytes;
}

QByteArray PictureBytes(PictureFormat format, const PictureSource& source, int scale) {
  return format == PictureFormat::Svg ? SvgBytes(source) : PngBytes(RenderImage(source, scale));
}

void WritePicture(const std::string& name, PictureFormat format, const PictureSource& source, int scale) {
  const QByteArray bytes = PictureBytes(format, source, scale);
  WriteFileSafely(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace velmora
