#pragma once
// How the scene is seen: its orientation, scale, shift and centre, the step sizes of the view
// commands, the mouse anchors, and the window position last computed for every slot or figure
// point. The window holds one instance; the view commands change it and the scene is painted
// from ScreenX and ScreenY.

#include "figures/FigureBuilder.h"
#include "model/Model.h"
#include "model/Real.h"
#include "view/RotationMatrix.h"

namespace velmora {

inline constexpr real StartZoom = 120.0L;
inline constexpr real StartAngleStep = 0.01L;
inline constexpr real StartZoomStep = 3.0L;
inline constexpr real StartPanStep = 5.0L;

struct ScreenPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ViewState {
  // The values the main window's start-up leaves, RotM being the matrix of the zero turn angles.
  ViewState();

  // Orientation of the particle scene: only ever added to, never wrapped or reset.
  real ViewTeta = 0.0L, ViewPsi = 0.0L, ViewPhi = 0.0L;
  // Pending turn. In particle mode a command adds it into the view angles and clears it; in
  // figure mode it turns the figure at every figure redraw, and a spin keeps it non-zero.
  real TurnTeta = 0.0L, TurnPsi = 0.0L, TurnPhi = 0.0L;
  // Recomputed at the start of every redraw from one of the two angle triples.
  RotationMatrix RotM;
  // A model length L is drawn as L * Zoom / 2 pixels; zero collapses the picture onto the
  // centre, a negative value mirrors it through the centre.
  real Zoom = StartZoom;
  // Shift of the picture in pixels, to the right and downwards.
  real PanX = 0.0L, PanY = 0.0L;
  // Window position of the model origin before the shift (SetCentre).
  int CentreX = 0, CentreY = 0;
  // Turn per button press and per pixel of drag; zoom unit of the buttons and zoom per pixel of
  // vertical right-button drag; shift per shift command.
  real AngleStep = StartAngleStep;
  real ZoomStep = StartZoomStep;
  real PanStep = StartPanStep;
  // Where the last press of a button other than the right one, and of the right one, happened.
  int LeftAnchorX = 0, LeftAnchorY = 0;
  int RightAnchorX = 0, RightAnchorY = 0;
  // Mirror of the check mark of View > ShowSpin: the timer redraws, and drags keep their turn.
  bool SpinOn = false;
  // Which built-in figure figure mode shows.
  int FigureKind = TetrahedronSpiral;
  // Last window position of each slot or figure point, 1-based.
  SlotArray<int> ScreenX{}, ScreenY{};
};

// RotM from the turn angles (figure redraws, start-up) or from the view angles (particle redraws).
void MatrixFromTurn(ViewState& view);
void MatrixFromView(ViewState& view);

// The window position of an already rotated point: its first coordinate goes right, its third
// down (window rows grow downwards), the second is depth and is dropped.
ScreenPoint PlaceOnScreen(const ViewState& view, const Point3& rotated);

// The window position of model point (x, y, z) under RotM, Zoom, the shift and the centre.
ScreenPoint ProjectPoint(const ViewState& view, real x, real y, real z);

// The centre from the window's outer width and the top edge of the bottom panel (the drawing
// area is the part of the window above the panel): half of each, rounded halves to even.
void SetCentre(ViewState& view, int outerWidth, int panelTop);

}  // namespace velmora
