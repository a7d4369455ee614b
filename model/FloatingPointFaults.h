#pragma once
// The FPU status flags as the program's errors. Arithmetic runs with every exception masked;
// the code clears the flags before a computation and looks at them at its checkpoints.
// Underflow, denormal operands and inexact results are not faults and are never looked at.

#include <cfenv>

namespace velmora {

inline constexpr const char* InvalidOperationText = "Invalid floating point operation";
inline constexpr const char* DivisionByZeroText = "Floating point division by zero";
inline constexpr const char* OverflowText = "Floating point overflow";

void ClearFaultFlags();

// True when invalid operation, division by zero or overflow has been flagged since the last clear.
bool FaultFlagged();

// The fault flags raised since the last clear, as a mask for ThrowFault (0 when none).
int FlaggedFaults();

// Clears the flags and throws FloatingPointFault for the faults in `flagged` (not 0). Where
// several are in it, division by zero or overflow is named ahead of invalid operation. A
// checkpoint after a single operation finds several only where that one operation raised them
// at once; a computation that must name the fault its order meets first checks every operation
// (CheckedReal) rather than rely on this order.
[[noreturn]] void ThrowFault(int flagged);

// ThrowFault of the flags raised since the last clear, if any.
void ThrowIfFaulted();

// Puts every FPU status flag back as it was on every way out of a scope: for work that is not
// part of a computation's faults (number text, measuring a run), whose flags must not surface at
// the caller's next checkpoint.
class FaultFlagsKept {
 public:
  FaultFlagsKept() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
  ~FaultFlagsKept() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
  FaultFlagsKept(const FaultFlagsKept&) = delete;
  FaultFlagsKept& operator=(const FaultFlagsKept&) = delete;

 private:
  std::fexcept_t saved_;
};

}  // namespace velmora
