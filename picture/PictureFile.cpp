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

Drawing SceneDrawing(const PictureSource& source) {
  return {source.Area,
          [source](QPainter& painter, int scale) {
            ScenePainter(painter, source.Area, scale)
                .Paint(source.Scene, source.View, source.Look, source.Trails);
          },
          QStringLiteral("Velmora scene")};
}

void RenderInto(QImage& image, const PictureSource& source, int scale) {
  QPainter painter(&image);
  SceneDrawing(source).Paint(painter, scale);
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

namespace {

QByteArray PngOf(const Drawing& drawing, int scale) {
  QImage image(drawing.Area * scale, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    drawing.Paint(painter, scale);
  }
  return PngBytes(image);
}

QByteArray SvgOf(const Drawing& drawing) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(SvgResolution);
  generator.setSize(drawing.Area);
  generator.setViewBox(QRect(QPoint(0, 0), drawing.Area));
  generator.setTitle(drawing.Title);
  generator.setDescription(QStringLiteral("Drawn by Velmora"));
  QPainter painter(&generator);
  drawing.Paint(painter, 1);
  painter.end();
  return bytes;
}

}  // namespace

QByteArray DrawingBytes(PictureFormat format, const Drawing& drawing, int scale) {
  return format == PictureFormat::Svg ? SvgOf(drawing) : PngOf(drawing, scale);
}

QByteArray PictureBytes(PictureFormat format, const PictureSource& source, int scale) {
  return DrawingBytes(format, SceneDrawing(source), scale);
}

void WriteDrawing(const std::string& name, PictureFormat format, const Drawing& drawing, int scale) {
  const QByteArray bytes = DrawingBytes(format, drawing, scale);
  WriteFileSafely(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace velmora
