#include "view/ViewState.h"

#include "model/Round.h"

namespace velmora {

ViewState::ViewState() { MatrixFromTurn(*this); }

void MatrixFromTurn(ViewState& view) {
  view.RotM = MatrixOfAngles(view.TurnTeta, view.TurnPsi, view.TurnPhi);
}

void MatrixFromView(ViewState& view) {
  view.RotM = MatrixOfAngles(view.ViewTeta, view.ViewPsi, view.ViewPhi);
}

// sx = Round(CentreX + xr * Zoom / 2 + PanX), sy likewise from zr, summed left to right in
// extended precision.
ScreenPoint PlaceOnScreen(const ViewState& view, const Point3& rotated) {
  const real centreX = view.CentreX;
  const real centreY = view.CentreY;
  return {Round(centreX + rotated.X * view.Zoom / 2.0L + view.PanX),
          Round(centreY + rotated.Z * view.Zoom / 2.0L + view.PanY)};
}

ScreenPoint ProjectPoint(const ViewState& view, real x, real y, real z) {
  return PlaceOnScreen(view, Rotate(view.RotM, {x, y, z}));
}

void SetCentre(ViewState& view, int outerWidth, int panelTop) {
  const real width = outerWidth;
  const real top = panelTop;
  view.CentreX = Round(width / 2.0L);
  view.CentreY = Round(top / 2.0L);
}

}  // namespace velmora
