#pragma once
// Which particle the pointer is on: the inverse of the projection, done on the window positions
// the last particle redraw left in ScreenX and ScreenY.
//
// A particle is drawn about the point (sx + 1, sy + 1) of the canvas, the middle of its 2 x 2 dot
// (or of its sphere), and a pixel (x, y) is the square [x, x + 1) x [y, y + 1). The pixel is on the
// particle when its middle lies within the drawn radius plus PickReach pixels of that point: a dot
// (radius 1) is picked from up to 6 pixels beyond its own pixels on every side.

#include "model/Model.h"
#include "view/ViewState.h"

namespace velmora {

inline constexpr real PickReach = 6.0L;
// Half the width of a dot of 2 x 2 pixels.
inline constexpr real DotRadius = 1.0L;

// The depth of slot i under RotM: the second rotated coordinate of its display position, which
// the picture drops. The model is right-handed and the window's x runs right and its rows down,
// so a greater depth is nearer to the viewer.
real Depth(const Model& model, const ViewState& view, int slot);

// The present slot drawn under pixel (x, y), with particles `drawnRadius` canvas pixels in radius;
// the one nearest to the viewer when several are, then the one nearest to the pointer, then the
// lowest slot. 0 when no particle is there.
int PickParticle(const Model& model, const ViewState& view, int x, int y, real drawnRadius = DotRadius);

}  // namespace velmora
