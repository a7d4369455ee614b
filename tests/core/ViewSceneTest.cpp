#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

#include "figures/FigureBuilder.h"
#include "figures/SpiralFaces.h"
#include "model/Model.h"
#include "model/Round.h"
#include "view/SceneColours.h"
#include "view/SceneProjection.h"
#include "view/ViewState.h"

namespace velmora {
namespace {

TEST(ProjectParticles, ProjectsPresentSlotsWithTheViewAnglesAndKeepsAbsentEntries) {
  Model model;
  model.N = SlotCount;
  for (int i = 1; i <= SlotCount; ++i) {
    model.Present[i] = i != 7;
    model.ShownX[i] = i / 100.0L;
  }
  ViewState view;
  SetCentre(view, 800, 600);
  view.ScreenX[7] = -123;
  view.ScreenY[7] = 456;
  view.TurnPhi = 1.0L;  // the particle picture ignores the turn angles
  view.ViewPhi = 0.25L;
  EXPECT_EQ(ProjectParticles(view, model), Redraw::Particles);
  for (int i : {1, 50, 100}) {
    const ScreenPoint p = ProjectPoint(view, model.ShownX[i], 0.0L, 0.0L);
    EXPECT_EQ(view.ScreenX[i], p.X);
    EXPECT_EQ(view.ScreenY[i], p.Y);
  }
  EXPECT_EQ(view.ScreenX[100], Round(400.0L + std::cos(0.25L) * 60.0L));
  EXPECT_EQ(view.ScreenX[7], -123);
  EXPECT_EQ(view.ScreenY[7], 456);
}

TEST(TurnFigure, AccumulatesTheTurnsInTheDisplayCoordinates) {
  Model model;
  model.ShownX[1] = 1.0L;
  model.ShownX[2] = 5.0L;    // beyond count: left alone
  model.Present[1] = false;  // turned regardless of presence
  ViewState view;
  SetCentre(view, 800, 600);
  view.TurnPsi = std::numbers::pi_v<real> / 4.0L;
  MatrixFromTurn(view);
  TurnFigure(view, model, 1);
  TurnFigure(view, model, 1);
  // Two eighth turns about y: (1, 0, 0) goes to (cos, 0, -sin) of a quarter turn, i.e. (0, 0, -1).
  EXPECT_LE(std::fabs(model.ShownX[1]), 1e-18L);
  EXPECT_LE(std::fabs(model.ShownZ[1] + 1.0L), 1e-18L);
  EXPECT_EQ(view.ScreenX[1], 400);
  EXPECT_EQ(view.ScreenY[1], 240);
  EXPECT_EQ(model.ShownX[2], 5.0L);
  EXPECT_EQ(view.ScreenX[2], 0);
}

TEST(TurnFigure, ZeroTurnLeavesTheFigureWhereItIs) {
  Model model;
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral);
  const Model before = model;
  ViewState view;
  EXPECT_EQ(RedrawScene(view, model), Redraw::Figure);
  for (int i = 1; i <= SpiralPointCount; ++i) {
    EXPECT_EQ(model.ShownX[i], before.ShownX[i]);
    EXPECT_EQ(model.ShownY[i], before.ShownY[i]);
    EXPECT_EQ(model.ShownZ[i], before.ShownZ[i]);
  }
}

TEST(SceneColours, GravoscopeColoursByGroupTaoscopeByParity) {
  for (auto [slot, colour] :
       {std::pair{1, palette::Lime}, std::pair{50, palette::Lime}, std::pair{51, palette::Yellow},
        std::pair{75, palette::Yellow}, std::pair{76, palette::Red}, std::pair{100, palette::Red}})
    EXPECT_EQ(GravoscopeColour(SlotCount, slot), colour) << slot;
  for (auto [slot, colour] : {std::pair{1, palette::Red}, std::pair{2, palette::Lime},
                              std::pair{99, palette::Red}, std::pair{100, palette::Lime}})
    EXPECT_EQ(TaoscopeColour(slot), colour) << slot;
}

TEST(FigureEdges, JoinEachPointToItsFaceInDrawingOrder) {
  const auto& edges = FigureEdges();
  EXPECT_EQ(edges[0], (FigureEdge{1, 2, palette::White}));
  EXPECT_EQ(edges[1], (FigureEdge{2, 3, palette::Red}));
  EXPECT_EQ(edges[2], (FigureEdge{3, 1, palette::Red}));
  // Point 8 closes the tetrahedron on the face (2, 6, 7); point 16 on (10, 14, 15).
  EXPECT_EQ(edges[3 + 3 * (8 - 4)], (FigureEdge{2, 8, palette::Red}));
  EXPECT_EQ(edges[3 + 3 * (8 - 4) + 1], (FigureEdge{6, 8, palette::Red}));
  EXPECT_EQ(edges[3 + 3 * (8 - 4) + 2], (FigureEdge{8, 7, palette::Red}));
  EXPECT_EQ(edges[3 + 3 * (16 - 4)], (FigureEdge{10, 16, palette::White}));
  std::set<std::pair<int, int>> white, joined;
  for (const FigureEdge& e : edges) {
    if (e.Pen == palette::White) white.insert({e.From, e.To});
    EXPECT_TRUE(joined.insert({std::min(e.From, e.To), std::max(e.From, e.To)}).second)
        << "edge " << e.From << "-" << e.To << " drawn twice";
  }
  EXPECT_EQ(white, (std::set<std::pair<int, int>>{{1, 2}, {2, 10}, {10, 16}}));
  // A wire frame of tetrahedra sharing faces: the first has 6 edges, every later point adds 3,
  // and point 5 completes the double pyramid over the first triangle.
  EXPECT_EQ(joined.size(), 51u);
}

// In the built spiral every joined pair of points lies between 0.86 and 1 apart, and every pair
// that is not joined at least 1.06 apart: an edge to a wrong corner would stand out by its length.
TEST(FigureEdges, JoinOnlyNeighboursOfTheBuiltSpiral) {
  Model model;
  model.SpiralShown = true;
  BuildFigure(model, TetrahedronSpiral);
  for (const FigureEdge& e : FigureEdges()) {
    const real dx = model.ShownX[e.From] - model.ShownX[e.To];
    const real dy = model.ShownY[e.From] - model.ShownY[e.To];
    const real dz = model.ShownZ[e.From] - model.ShownZ[e.To];
    const real length = std::sqrt(dx * dx + dy * dy + dz * dz);
    EXPECT_GT(length, 0.86L) << e.From << "-" << e.To;
    EXPECT_LT(length, 1.0L + 1e-15L) << e.From << "-" << e.To;
  }
}

}  // namespace
}  // namespace velmora
