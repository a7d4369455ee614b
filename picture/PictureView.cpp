#include "picture/PictureView.h"

#include <numbers>

#include "view/SceneProjection.h"

namespace velmora {

ViewState PictureView(QSize area, const std::array<real, 3>& turnDegrees, std::optional<real> zoom) {
  ViewState view;
  SetCentre(view, area.width(), area.height());
  constexpr real Degree = std::numbers::pi_v<real> / 180.0L;
  view.ViewTeta = turnDegrees[0] * Degree;
  view.ViewPsi = turnDegrees[1] * Degree;
  view.ViewPhi = turnDegrees[2] * Degree;
  if (zoom) view.Zoom = *zoom;
  return view;
}

}  // namespace velmora
