#include "measure/Picking.h"

#include <cmath>

#include "model/FloatingPointFaults.h"

namespace velmora {

real Depth(const Model& model, const ViewState& view, int slot) {
  const RotationMatrix& m = view.RotM;
  return m.M21 * model.ShownX[slot] + m.M22 * model.ShownY[slot] + m.M23 * model.ShownZ[slot];
}

int PickParticle(const Model& model, const ViewState& view, int x, int y, real drawnRadius) {
  FaultFlagsKept flagsKept;  // far-off particles may overflow; a click must not leave a flag for the run
  const real reach = std::fabs(drawnRadius) + PickReach;
  const real px = static_cast<real>(x) + 0.5L;
  const real py = static_cast<real>(y) + 0.5L;
  int best = 0;
  real bestDepth = 0.0L, bestDistance = 0.0L;
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    const real dx = px - (static_cast<real>(view.ScreenX[i]) + 1.0L);
    const real dy = py - (static_cast<real>(view.ScreenY[i]) + 1.0L);
    const real distance = std::sqrt(dx * dx + dy * dy);
    if (!(distance <= reach)) continue;
    const real depth = Depth(model, view, i);
    const bool nearer = best == 0 || depth > bestDepth || (depth == bestDepth && distance < bestDistance);
    if (!nearer) continue;
    best = i;
    bestDepth = depth;
    bestDistance = distance;
  }
  return best;
}

}  // namespace velmora
