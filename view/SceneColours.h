#pragma once
// The colours of the scene and the figure's wire frame as data: the window sets its pens from
// these and draws the edges in this order.

#include <array>

#include "model/Model.h"

namespace velmora {

struct Colour {
  int Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

namespace palette {
inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour White{255, 255, 255};
inline constexpr Colour Red{255, 0, 0};
inline constexpr Colour Lime{0, 255, 0};
inline constexpr Colour Yellow{255, 255, 0};
}  // namespace palette

// The background of the drawing area and of every label's text box.
inline constexpr Colour SceneBackground = palette::Black;

// Gravoscope colours a slot's dot and label by its parameter group: lime for group 1, yellow for
// group 2, red for group 3 (slots 1-50, 51-75, 76-100 with n = 100).
Colour GravoscopeColour(int n, int slot);

// Taoscope colours by parity, the sign rule of its pair law: red for odd slots, lime for even.
Colour TaoscopeColour(int slot);

// The figure's point labels "1" .. "19" are lime, written with their top-left corner on the point.
inline constexpr Colour FigureLabelColour = palette::Lime;

// One straight edge of the figure, drawn from point From to point To.
struct FigureEdge {
  int From = 0, To = 0;
  Colour Pen;
  friend bool operator==(const FigureEdge&, const FigureEdge&) = default;
};

inline constexpr int FigureEdgeCount = 51;

// The first triangle P1-P2, P2-P3, P3-P1, then for each point n = 4 .. 19 the edges Pa-Pn, Pb-Pn
// and Pn-Pc to its face (a, b, c). P1-P2, P2-P10 and P10-P16, which run along the spiral's
// length, are white; every other edge is red.
const std::array<FigureEdge, FigureEdgeCount>& FigureEdges();

}  // namespace velmora
