#pragma once
// Confinement after each step: walls, wraps, soft speed limits, bands and the y-channels of the
// current modes. They act on the working arrays only, absent slots included, so an adjustment
// reaches the current arrays at the next step's copy-back.

#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora {

void ApplyBoundaryMode(Model& model, BoundaryMode mode);

}  // namespace velmora
