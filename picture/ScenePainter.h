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
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "measure/ParticleValues.h"
#include "measure/StructureColours.h"
#include "model/Model.h"
#include "view/SceneProjection.h"
#include "view/TrailRecord.h"
#include "view/ViewState.h"

class QImage;
class QPainter;

namespace velmora {

// The drawing area at the window's start: its client area of 846 x 471 less the bottom panel's 182.
inline constexpr QSize StartCanvasSize(846, 289);

// How particles are drawn: the 2 x 2 dots of the scope, or shaded spheres of a radius in model
// units, drawn from the farthest to the nearest.
enum class ParticleStyle { Dots, Spheres };

// A sphere's radius that reads for a cloud of a hundred particles (about 0.5 apart, so the
// spheres stay apart) and for the few particles of a small figure: 10 pixels across at zoom 120.
inline constexpr real DefaultSphereRadius = 0.08L;
// The largest radius drawn: far beyond any cloud's size, and small enough that a sphere stays a
// circle on any picture at the zooms the view reaches. Not a number is no radius either.
inline constexpr real LargestSphereRadius = 1000.0L;
inline bool IsSphereRadius(real radius) { return radius > 0.0L && radius <= LargestSphereRadius; }
inline constexpr int DefaultTrailSteps = 100;

// What a redraw shows and with which switches. The defaults are the scope's own picture.
struct SceneLook {
  Redraw What = Redraw::Black;
  bool Taoscope = false;     // colour by parity; otherwise by group (Gravoscope)
  bool ShowNumbers = false;  // "Show Numbers of Points"
  ParticleStyle Style = ParticleStyle::Dots;
  real SphereRadius = DefaultSphereRadius;
  ColourBy Colour = ColourBy::Group;  // the group's (or parity's) colour, a quantity on viridis, or a kind
  StructureSettings Structure{};      // of Cluster, Coordination and Neighbour Class
  bool Functions3X1 = false;          // the law the potential energy is measured with
  std::vector<int> Selected{};        // slots ringed in their colour
  char Separator = '.';               // of the colour bar's numbers
  // The colour range held by the user (View > Hold Colour Range); otherwise the present
  // particles' least and greatest values of each picture.
  std::optional<ValueRange> HeldRange{};
  // Parts of the area that the window's switches stand on: the colour bar, its title and its
  // labels keep below every one of them in their column.
  std::vector<QRect> Covered{};
};

// A colour bar's number: at most 6 significant digits, in the general format's notation
// ("1.23457", "-2.55856E-10"), so that the labels stay short and do not change with every step.
QString ColourBarLabel(real value, char separator);

class ScenePainter {
 public:
  // The window's face, 11 pixels high.
  static QFont WindowFace();
  // The labels' font: the window's face drawn pixel for pixel in the label's colour, as the dots
  // are, never blended into black.
  static QFont LabelFont();
  // The height the colour bar takes below whatever covers its column: its title, a bar two
  // labels high, and the margins. A shorter area shows no bar.
  static int ColourBarHeight();

  // Paints on `painter`'s device an area of `area` canvas pixels, `scale` device pixels each.
  ScenePainter(QPainter& painter, QSize area, int scale = 1);

  // Clears the area black, then the figure's edges or the particles as `look` says, with the
  // particles' trails when a record of them is given.
  void Paint(const Model& model, const ViewState& view, const SceneLook& look,
             const TrailRecord* trails = nullptr);

 private:
  void Clear();
  void DrawParticles(const Model& model, const ViewState& view, const SceneLook& look,
                     const TrailRecord* trails);
  void DrawDots(const Model& model, const ViewState& view, const SceneLook& look,
                const SlotArray<QColor>& colours);
  void DrawSpheres(const Model& model, const ViewState& view, const SceneLook& look,
                   const SlotArray<QColor>& colours);
  void DrawTrails(const Model& model, const ViewState& view, const TrailRecord& trails,
                  const SlotArray<QColor>& colours);
  void DrawRings(const Model& model, const ViewState& view, const SceneLook& look,
                 const SlotArray<QColor>& colours);
  void DrawColourBar(const SceneLook& look, real least, real greatest);
  void DrawLegend(const SceneLook& look, const std::vector<LegendEntry>& legend);
  int ClearTopOf(int width, const std::vector<QRect>& covered) const;
  void DrawFigureEdges(const ViewState& view, bool showNumbers);
  void DrawLabel(int x, int y, int number, const QColor& colour);
  QImage* StampableImage() const;

  QPainter& painter_;
  QSize area_;
  int scale_;
  // Where on a canvas pixel an edge runs: an aliased one-pixel line on a 1:1 raster lights the
  // pixels right of and below its end points, which on a larger scale or a vector device is the
  // line through the middle of those pixels.
  qreal edgeOffset_;
};

}  // namespace velmora
