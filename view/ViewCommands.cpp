#include "view/ViewCommands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace velmora {

namespace {

// The turn angle a rotation button steps, the view angle it feeds in particle mode, and the
// direction of its step.
struct ButtonAxis {
  real ViewState::*turn;
  real ViewState::*angle;
  bool increases;
};

// In the order of RotationButton.
constexpr std::array<ButtonAxis, 6> ButtonAxes = {{
    {&ViewState::TurnTeta, &ViewState::ViewTeta, false},  // DaoTeta
    {&ViewState::TurnTeta, &ViewState::ViewTeta, true},   // DaoTeta1
    {&ViewState::TurnPhi, &ViewState::ViewPhi, true},     // DaoPhi
    {&ViewState::TurnPhi, &ViewState::ViewPhi, false},    // DaoPhi1
    {&ViewState::TurnPsi, &ViewState::ViewPsi, false},    // DaoPsi
    {&ViewState::TurnPsi, &ViewState::ViewPsi, true},     // DaoPsi1
}};

void ClearTurn(ViewState& view) {
  view.TurnTeta = 0.0L;
  view.TurnPsi = 0.0L;
  view.TurnPhi = 0.0L;
}

struct Steps {
  real angle;
  real zoom;
};

constexpr std::array<Steps, TrackBarMaximum - TrackBarMinimum + 1> TrackBarSteps = {{
    {0.0005L, 0.5L},
    {0.001L, 1.0L},
    {0.002L, 2.0L},
    {0.003L, 3.0L},
    {0.005L, 5.0L},
    {0.01L, 7.0L},
    {0.05L, 10.0L},
    {0.1L, 15.0L},
    {0.5L, 20.0L},
    {1.0L, 30.0L},
    {2.0L, 50.0L},
}};

}  // namespace

// The figure is turned while the step is still in the turn angle; only then is the angle
// cleared. A leftover spin angle of the same axis therefore goes along once, and then stops.
Redraw PressRotationButton(ViewState& view, Model& model, RotationButton button) {
  const ButtonAxis& axis = ButtonAxes.at(static_cast<std::size_t>(button));
  real& turn = view.*axis.turn;
  if (axis.increases)
    turn += view.AngleStep;
  else
    turn -= view.AngleStep;
  Redraw redraw;
  if (model.SpiralShown) {
    redraw = TurnFigureAndProject(view, model);
  } else {
    view.*axis.angle += turn;
    redraw = ProjectParticles(view, model);
  }
  turn = 0.0L;
  return redraw;
}

Redraw StopTurning(ViewState& view, Model& model) {
  ClearTurn(view);
  return RedrawScene(view, model);
}

// Far from zero the zoom shrinks by three steps at a time; below nine steps, where a few more
// presses would reach zero, it is divided by the step instead, so that it approaches zero
// without crossing it. With a step of 1 or less the division keeps or enlarges the zoom.
Redraw ZoomOut(ViewState& view, Model& model) {
  if (view.Zoom >= 9.0L * view.ZoomStep)
    view.Zoom -= 3.0L * view.ZoomStep;
  else
    view.Zoom /= view.ZoomStep;
  return RedrawScene(view, model);
}

Redraw ZoomIn(ViewState& view, Model& model) {
  view.Zoom += 3.0L * view.ZoomStep;
  return RedrawScene(view, model);
}

Redraw Shift(ViewState& view, Model& model, ShiftDirection direction) {
  switch (direction) {
    case ShiftDirection::Left:
      view.PanX -= view.PanStep;
      break;
    case ShiftDirection::Right:
      view.PanX += view.PanStep;
      break;
    case ShiftDirection::Up:
      view.PanY -= view.PanStep;
      break;
    case ShiftDirection::Down:
      view.PanY += view.PanStep;
      break;
  }
  return RedrawScene(view, model);
}

Redraw MoveToCenter(ViewState& view, Model& model) {
  view.Zoom = StartZoom;
  view.PanX = 0.0L;
  view.PanY = 0.0L;
  return RedrawScene(view, model);
}

Redraw ResetView(ViewState& view, Model& model) {
  view.ViewTeta = view.ViewPsi = view.ViewPhi = 0.0L;
  view.TurnTeta = view.TurnPsi = view.TurnPhi = 0.0L;
  return MoveToCenter(view, model);
}

Redraw Fit(ViewState& view, Model& model, int width, int height) {
  if (model.SpiralShown) return RedrawScene(view, model);
  const RotationMatrix rotation = MatrixOfAngles(view.ViewTeta, view.ViewPsi, view.ViewPhi);
  bool any = false;
  real left = 0.0L, right = 0.0L, top = 0.0L, bottom = 0.0L;
  for (int n = 1; n <= model.N; ++n) {
    if (!model.Present[n]) continue;
    const Point3 p = Rotate(rotation, {model.X[n], model.Y[n], model.Z[n]});
    if (!std::isfinite(p.X) || !std::isfinite(p.Z)) continue;
    left = any ? std::min(left, p.X) : p.X;
    right = any ? std::max(right, p.X) : p.X;
    top = any ? std::min(top, p.Z) : p.Z;
    bottom = any ? std::max(bottom, p.Z) : p.Z;
    any = true;
  }
  if (!any) return RedrawScene(view, model);
  const real kept = 1.0L - 2.0L * FitMargin;
  real zoom = 0.0L;
  if (right > left) zoom = 2.0L * kept * width / (right - left);
  if (bottom > top) {
    const real byHeight = 2.0L * kept * height / (bottom - top);
    zoom = zoom > 0.0L ? std::min(zoom, byHeight) : byHeight;
  }
  if (zoom > 0.0L && std::isfinite(zoom)) view.Zoom = zoom;
  view.PanX = width / 2.0L - view.CentreX - (left + right) / 2.0L * view.Zoom / 2.0L;
  view.PanY = height / 2.0L - view.CentreY - (top + bottom) / 2.0L * view.Zoom / 2.0L;
  return RedrawScene(view, model);
}

Redraw Wheel(ViewState& view, Model& model, int steps) {
  for (; steps > 0; --steps) ZoomIn(view, model);
  for (; steps < 0; ++steps) ZoomOut(view, model);
  return RedrawScene(view, model);
}

void SetStepsFromTrackBar(ViewState& view, int position) {
  if (position < TrackBarMinimum || position > TrackBarMaximum) return;
  const Steps& steps = TrackBarSteps[position - TrackBarMinimum];
  view.AngleStep = steps.angle;
  view.ZoomStep = steps.zoom;
}

void MousePress(ViewState& view, MouseButton button, int x, int y) {
  if (button == MouseButton::Right) {
    view.RightAnchorX = x;
    view.RightAnchorY = y;
  } else {
    view.LeftAnchorX = x;
    view.LeftAnchorY = y;
  }
}

// dx and dy are taken in extended precision, where the difference of two ints is exact.
Redraw MouseRelease(ViewState& view, Model& model, MouseButton button, int x, int y) {
  const bool right = button == MouseButton::Right;
  const real dx = static_cast<real>(x) - (right ? view.RightAnchorX : view.LeftAnchorX);
  const real dy = static_cast<real>(y) - (right ? view.RightAnchorY : view.LeftAnchorY);
  if (right) {
    view.TurnPsi -= dx * view.AngleStep;
    view.Zoom -= dy * view.ZoomStep;
  } else {
    view.TurnPhi -= dx * view.AngleStep;
    view.TurnTeta += dy * view.AngleStep;
  }
  Redraw redraw;
  if (model.SpiralShown) {
    redraw = TurnFigureAndProject(view, model);
  } else {
    if (right) {
      view.ViewPsi += view.TurnPsi;
    } else {
      view.ViewPhi += view.TurnPhi;
      view.ViewTeta += view.TurnTeta;
    }
    redraw = ProjectParticles(view, model);
    ClearTurn(view);
  }
  if (!view.SpinOn) ClearTurn(view);
  return redraw;
}

Redraw TimerTick(ViewState& view, Model& model) {
  return view.SpinOn ? RedrawScene(view, model) : Redraw::None;
}

}  // namespace velmora
