#include "view/SceneColours.h"

#include "figures/SpiralFaces.h"

namespace velmora {

namespace {

constexpr bool AlongSpiral(int from, int to) {
  return (from == 1 && to == 2) || (from == 2 && to == 10) || (from == 10 && to == 16);
}

constexpr FigureEdge Edge(int from, int to) {
  return {from, to, AlongSpiral(from, to) ? palette::White : palette::Red};
}

constexpr std::array<FigureEdge, FigureEdgeCount> MakeFigureEdges() {
  std::array<FigureEdge, FigureEdgeCount> edges{};
  int e = 0;
  edges[e++] = Edge(1, 2);
  edges[e++] = Edge(2, 3);
  edges[e++] = Edge(3, 1);
  for (int n = 4; n <= SpiralPointCount; ++n) {
    const SpiralFace& face = SpiralFaces[n];
    edges[e++] = Edge(face.A, n);
    edges[e++] = Edge(face.B, n);
    edges[e++] = Edge(n, face.C);
  }
  return edges;
}

constexpr std::array<FigureEdge, FigureEdgeCount> Edges = MakeFigureEdges();
static_assert(Edges.back() == FigureEdge{19, 18, palette::Red}, "every edge of the figure is filled");

}  // namespace

Colour GravoscopeColour(int n, int slot) {
  switch (GroupOf(n, slot)) {
    case 1:
      return palette::Lime;
    case 2:
      return palette::Yellow;
    default:
      return palette::Red;
  }
}

Colour TaoscopeColour(int slot) { return slot % 2 != 0 ? palette::Red : palette::Lime; }

const std::array<FigureEdge, FigureEdgeCount>& FigureEdges() { return Edges; }

}  // namespace velmora
