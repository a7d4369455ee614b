#include "model/FloatingPointFaults.h"

#include <cfenv>

#include "model/ProgramError.h"

namespace velmora {

namespace {
constexpr int FaultExceptions = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void ClearFaultFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

bool FaultFlagged() { return FlaggedFaults() != 0; }

int FlaggedFaults() { return std::fetestexcept(FaultExceptions); }

void ThrowFault(int flagged) {
  ClearFaultFlags();
  if (flagged & FE_DIVBYZERO) throw FloatingPointFault(DivisionByZeroText);
  if (flagged & FE_OVERFLOW) throw FloatingPointFault(OverflowText);
  throw FloatingPointFault(InvalidOperationText);
}

void ThrowIfFaulted() {
  if (const int flagged = FlaggedFaults()) ThrowFault(flagged);
}

}  // namespace velmora
