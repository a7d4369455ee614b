#include "model/FloatingPointFaults.h"

#include <cfenv>

#include "model/ProgramError.h"

namespace velmora {

namespace {
constexpr int FaultExceptions = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void ClearFaultFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

bool FaultFlagged() { return std::fetestexcept(FaultExceptions) != 0; }

void ThrowIfFaulted() {
  const int raised = std::fetestexcept(FaultExceptions);
  if (raised == 0) return;
  ClearFaultFlags();
  if (raised & FE_DIVBYZERO) throw FloatingPointFault(DivisionByZeroText);
  if (raised & FE_OVERFLOW) throw FloatingPointFault(OverflowText);
  throw FloatingPointFault(InvalidOperationText);
}

}  // namespace velmora
