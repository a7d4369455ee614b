#pragma once
// The table of a run's measurements, as velmora-batch --log writes it and the chart window
// exports it: tab-separated, a header line, then one row per measured step, every number in the
// exact form that reads back to the same extended value.

#include <string>

#include "sim/Observables.h"

namespace velmora {

// "step\tkinetic\tpotential\t...\tfastest\n".
std::string ObservableLogHeader();

// The step count, then each quantity in FormatExact, tab-separated, ending with "\n".
std::string ObservableLogRow(int step, const Observables& observables);

}  // namespace velmora
