#pragma once
// Pictures of the scene as files: a PNG image of the canvas at 1, 2 or 4 times its size, or an
// SVG drawing whose dots, edges and labels are vector shapes. Both are painted by ScenePainter
// and written through the core's safe write, so a failed export leaves an older file as it was.

#include <QByteArray>
#include <QImage>

#include <string>

#include "picture/OutputFormat.h"
#include "picture/ScenePainter.h"

namespace velmora {

// A scene as the canvas shows it: the model and view it was projected with, what was drawn,
// and the canvas's size.
struct PictureSource {
  const Model& Scene;
  const ViewState& View;
  SceneLook Look;
  QSize Area;
  const TrailRecord* Trails = nullptr;  // the particles' trails, when shown
};

// The picture in an opaque 32-bit image (BGRA in memory) of Area * scale pixels.
QImage RenderImage(const PictureSource& source, int scale = 1);
// Paints into `image`, which is Area * scale pixels or more; pixels beyond stay as they are.
void RenderInto(QImage& image, const PictureSource& source, int scale = 1);

// PNG at the writer's quality (0 packs smallest, 100 fastest; -1 the library's default).
QByteArray PngBytes(const QImage& image, int quality = -1);
QByteArray SvgBytes(const PictureSource& source);

// The picture's file content: PNG at `scale`, or SVG at the canvas's size.
QByteArray PictureBytes(PictureFormat format, const PictureSource& source, int scale = 1);

// Writes the picture to `name`; throws the file's IoError.
void WritePicture(const std::string& name, PictureFormat format, const PictureSource& source, int scale = 1);

}  // namespace velmora
