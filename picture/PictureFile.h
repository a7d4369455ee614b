#pragma once
// Pictures as files: a PNG image at 1, 2 or 4 times the drawing's size, painted anew at that
// size, or an SVG drawing whose shapes and labels are vector shapes. The scene is painted by
// ScenePainter, the observables chart by its own Render; both are written through the core's
// safe write, so a failed export leaves an older file as it was.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
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

// Anything drawn as a picture: its size in its own pixels, how it paints them on a painter at
// `scale` device pixels each, and the title an SVG file carries.
struct Drawing {
  QSize Area;
  std::function<void(QPainter& painter, int scale)> Paint;
  QString Title;
};

// The scene as a drawing.
Drawing SceneDrawing(const PictureSource& source);

// Paints into `image`, which is Area * scale pixels or more; pixels beyond stay as they are.
void RenderInto(QImage& image, const PictureSource& source, int scale = 1);

// PNG at the writer's quality (0 packs smallest, 100 fastest; -1 the library's default).
QByteArray PngBytes(const QImage& image, int quality = -1);

// The drawing's file content: PNG in an opaque image of Area * scale pixels, or SVG at Area.
QByteArray DrawingBytes(PictureFormat format, const Drawing& drawing, int scale = 1);
// The scene's file content.
QByteArray PictureBytes(PictureFormat format, const PictureSource& source, int scale = 1);

// Writes the drawing to `name`; throws the file's IoError.
void WriteDrawing(const std::string& name, PictureFormat format, const Drawing& drawing, int scale = 1);

}  // namespace velmora
