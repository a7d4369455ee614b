#pragma once
// One shaded sphere, drawn once and stamped wherever a sphere of its size goes: its disc's
// coverage, filled with each particle's own colour, and the shading laid over it. A picture of a
// hundred spheres so costs a hundred small copies instead of two hundred antialiased gradient
// ellipses, which is what lets a run show spheres at the display's rate.
//
// Every sphere of a picture is centred on a pixel's corner, so one stamp, drawn with its centre
// on a corner, covers the same pixels as an ellipse drawn in place would.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

class QBrush;

namespace velmora {

class SphereStamp {
 public:
  // The largest radius stamped, in device pixels. Larger spheres are few on any picture, and an
  // ellipse clipped to the picture costs less than a stamp of their size.
  static constexpr qreal MostRadius = 256;

  // A sphere of `radius` device pixels (at most MostRadius), shaded by `shading` (in the object coordinates
  // of its box).
  SphereStamp(qreal radius, const QBrush& shading);

  // Whether Stamp can draw on `image`: an opaque image of 32-bit pixels.
  static bool Takes(const QImage& image);

  // The sphere centred on the corner `centre` of `image` in `colour`, within `clip`.
  void Stamp(QImage& image, QPoint centre, QRgb colour, const QRect& clip) const;

 private:
  int half_;         // the stamp's centre, in its own pixels from its top left
  QImage coverage_;  // the disc: how much of each pixel it covers (alpha only)
  QImage shading_;   // the shading over the disc, premultiplied
};

}  // namespace velmora
