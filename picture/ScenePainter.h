#pragma once
// The one drawing of the scene. The window's canvas, File > Export Picture and velmora-render all
// paint through it, on any paint device: the canvas image, a larger image for print, an SVG
// generator. A picture is so exactly what the window shows.
//
// Coordinates are the canvas's pixels, ScreenX and ScreenY as the projection left them. At a
// scale above 1 every pixel of the canvas becomes a block of scale x scale device pixels: dots,
// edges and labels grow with it and are drawn anew at that size, never enlarged from the small
// picture.

#include <QFont>
#include <QSize>

#include "model/Model.h"
#include "view/SceneProjection.h"
#include "view/ViewState.h"

class QPainter;

namespace velmora {

// The drawing area at the window's start: its client area of 846 x 471 less the bottom panel's 182.
inline constexpr QSize StartCanvasSize(846, 289);

// What a redraw shows and with which switches.
struct SceneLook {
  Redraw What = Redraw::Black;
  bool Taoscope = false;     // colour by parity; otherwise by group (Gravoscope)
  bool ShowNumbers = false;  // "Show Numbers of Points"
};

class ScenePainter {
 public:
  // The window's face, 11 pixels high.
  static QFont WindowFace();
  // The labels' font: the window's face drawn pixel for pixel in the label's colour, as the dots
  // are, never blended into black.
  static QFont LabelFont();

  // Paints on `painter`'s device an area of `area` canvas pixels, `scale` device pixels each.
  ScenePainter(QPainter& painter, QSize area, int scale = 1);

  // Clears the area black, then the figure's edges or the particles' dots as `look` says.
  void Paint(const Model& model, const ViewState& view, const SceneLook& look);

 private:
  void Clear();
  void DrawDots(const Model& model, const ViewState& view, bool taoscope, bool showNumbers);
  void DrawFigureEdges(const ViewState& view, bool showNumbers);
  void DrawLabel(int x, int y, int number, const QColor& colour);

  QPainter& painter_;
  QSize area_;
  // Where on a canvas pixel an edge runs: an aliased one-pixel line on a 1:1 raster lights the
  // pixels right of and below its end points, which on a larger scale or a vector device is the
  // line through the middle of those pixels.
  qreal edgeOffset_;
};

}  // namespace velmora
