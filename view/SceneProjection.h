#pragma once
// The arithmetic of a scene redraw: the matrix, the figure's turn and the projection into
// ScreenX and ScreenY. The window then clears the drawing area and paints what the returned
// Redraw names from ScreenX and ScreenY alone; nothing it paints needs further arithmetic.

#include "model/Model.h"
#include "view/ViewState.h"

namespace velmora {

enum class Redraw {
  None,       // the command changed nothing that is shown
  Black,      // clear the drawing area and draw nothing (figure mode with an unknown figure)
  Figure,     // clear, then the figure's edges (and labels) between ScreenX/ScreenY 1 .. 19
  Particles,  // clear, then a dot (and label) at ScreenX/ScreenY of every present slot
};

// Turns the display points 1 .. count in place by RotM, regardless of Present, and stores their
// window positions. The figure's coordinates so accumulate every turn applied to them.
void TurnFigure(ViewState& view, Model& model, int count);

// The figure redraw: RotM from the turn angles, then, for the spiral, TurnFigure of its points.
Redraw TurnFigureAndProject(ViewState& view, Model& model);

// The particle redraw: RotM from the view angles, then the window position of every present
// slot's display coordinates. Absent slots keep their old entries (and are not painted).
Redraw ProjectParticles(ViewState& view, const Model& model);

// The figure redraw in figure mode (model.SpiralShown), the particle redraw otherwise. Every
// view command ends with it; so do paints, resizes and spin timer ticks.
Redraw RedrawScene(ViewState& view, Model& model);

}  // namespace velmora
