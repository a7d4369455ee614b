#pragma once
// The view a picture is drawn with outside the window: the window's start-up view for an area of
// the given size, turned by angles in degrees about the view's x, y and z axes and zoomed as
// asked. velmora-render and the Python module's pictures both take it, so the same settings give
// the same pixels.

#include <QSize>
#include <array>
#include <optional>

#include "model/Real.h"
#include "view/ViewState.h"

namespace velmora {

ViewState PictureView(QSize area, const std::array<real, 3>& turnDegrees, std::optional<real> zoom);

}  // namespace velmora
