#pragma once
// The options of a run that every tool stepping a scene takes alike (velmora-batch,
// velmora-render): the steps, the window's switches, the confinement mode, the time step and the
// step's threads.

#include "run/BatchRun.h"
#include "run/OptionTable.h"

namespace velmora {

// Rows bound to `job` (steps, switches, mode, dt) and `threads`.
OptionTable RunOptions(BatchJob& job, int& threads);

}  // namespace velmora
