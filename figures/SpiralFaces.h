#pragma once
// The tetrahedron spiral's structure: every point from 4 on closes a tetrahedron on a face
// (A, B, C) of the points before it. The builder places the point from that face, the wire
// frame joins the point to the same three corners.

#include <array>

namespace velmora {

inline constexpr int SpiralPointCount = 19;

// The first point placed by reflection; points 1 to 5 are placed directly.
inline constexpr int FirstReflectedPoint = 6;

// E is the vertex that point n is reflected from through the face's centroid, so that the new
// tetrahedron lies on the side of the face away from the previous one (0 for points 4 and 5,
// which sit above and below the first triangle).
struct SpiralFace {
  int A = 0, B = 0, C = 0, E = 0;
};

// Indexed by the point's number; entries 0 to 3 are unused.
inline constexpr std::array<SpiralFace, SpiralPointCount + 1> SpiralFaces = {{
    {},
    {},
    {},
    {},
    {1, 2, 3, 0},
    {1, 2, 3, 0},
    {1, 2, 5, 3},
    {1, 2, 6, 5},
    {2, 6, 7, 1},
    {2, 6, 8, 7},
    {2, 8, 9, 6},
    {2, 8, 10, 9},
    {2, 10, 11, 8},
    {2, 10, 12, 11},
    {10, 12, 13, 2},
    {10, 12, 14, 13},
    {10, 14, 15, 12},
    {10, 14, 16, 15},
    {10, 16, 17, 14},
    {10, 16, 18, 17},
}};

}  // namespace velmora
