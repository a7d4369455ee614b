#pragma once
// The view commands of the main window as arithmetic on the view state: the window forwards
// the button, menu, track bar, mouse and timer events here and paints what the returned Redraw
// names (see SceneProjection.h). Figure mode or particle mode follows model.SpiralShown.

#include "model/Model.h"
#include "view/SceneProjection.h"
#include "view/ViewState.h"

namespace velmora {

// The six rotation buttons and the turn each makes:
//   DaoTeta TurnTeta -= AngleStep, DaoTeta1 TurnTeta += AngleStep,
//   DaoPhi  TurnPhi  += AngleStep, DaoPhi1  TurnPhi  -= AngleStep,
//   DaoPsi  TurnPsi  -= AngleStep, DaoPsi1  TurnPsi  += AngleStep.
enum class RotationButton { DaoTeta, DaoTeta1, DaoPhi, DaoPhi1, DaoPsi, DaoPsi1 };

// One press: the button's turn angle takes its step; in figure mode the figure is turned by all
// three turn angles, in particle mode that turn angle is added into its view angle and the
// particles are projected; then the button's own turn angle is cleared (the other two stay, so
// a spin about another axis goes on).
Redraw PressRotationButton(ViewState& view, Model& model, RotationButton button);

// DaoStop: clears all three turn angles, which ends a spin, and redraws.
Redraw StopTurning(ViewState& view, Model& model);

// DaoBack: Zoom -= 3 ZoomStep while Zoom >= 9 ZoomStep, else Zoom /= ZoomStep; then redraws.
Redraw ZoomOut(ViewState& view, Model& model);

// DaoForvard: Zoom += 3 ZoomStep, then redraws.
Redraw ZoomIn(ViewState& view, Model& model);

// The Manager menu's shift commands (Ctrl + arrow keys): PanStep pixels, then a redraw.
enum class ShiftDirection { Left, Right, Up, Down };
Redraw Shift(ViewState& view, Model& model, ShiftDirection direction);

// View > Move to center: Zoom back to 120 and no shift; angles and steps stay. Redraws.
Redraw MoveToCenter(ViewState& view, Model& model);

// View > Reset View: the view angles and the turn angles 0 (a spin ends), Zoom 120 and no
// shift; the steps stay. Redraws.
Redraw ResetView(ViewState& view, Model& model);

// View > Fit, in particle mode: Zoom and the shift that show every present particle, under the
// view's orientation, within an area of width x height pixels (the drawing area) with a margin of
// FitMargin of the area on every side. A single particle (or all at one point) keeps the zoom and
// is centred; no particle changes nothing. In figure mode only a redraw.
inline constexpr real FitMargin = 0.1L;
Redraw Fit(ViewState& view, Model& model, int width, int height);

// The mouse wheel: each step of a wheel (15 degrees) as one press of the zoom button, forwards
// (away from the user) enlarging. `steps` is signed, forwards positive.
Redraw Wheel(ViewState& view, Model& model, int steps);

// The track bar ("Amplitude"): its range and its position at start. Until it is first moved the
// steps keep their start values, which are not those of the start position.
inline constexpr int TrackBarMinimum = 0;
inline constexpr int TrackBarMaximum = 10;
inline constexpr int TrackBarStart = 5;

// Sets AngleStep and ZoomStep from the track bar's new position; a position outside the range
// changes nothing. Does not redraw.
void SetStepsFromTrackBar(ViewState& view, int position);

enum class MouseButton { Left, Right, Middle };

// A press on the bare drawing surface: the right button anchors the right-button drag, any
// other button the left-button drag. Nothing is redrawn.
void MousePress(ViewState& view, MouseButton button, int x, int y);

// A release makes the drag's whole change. Right button, with (dx, dy) from its anchor:
// TurnPsi -= dx AngleStep and Zoom -= dy ZoomStep (dragging up enlarges). Any other button:
// TurnPhi -= dx AngleStep and TurnTeta += dy AngleStep. In figure mode the figure is turned; in
// particle mode the changed turn angles are added into their view angles, the particles are
// projected and all three turn angles are cleared. Without SpinOn all three are cleared in
// figure mode too; with it they stay and keep the figure spinning.
Redraw MouseRelease(ViewState& view, Model& model, MouseButton button, int x, int y);

// The 300 ms timer: a redraw while SpinOn, otherwise nothing.
Redraw TimerTick(ViewState& view, Model& model);

}  // namespace velmora
