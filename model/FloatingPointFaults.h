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

// Throws FloatingPointFault when a fault is flagged, and clears the flags.
// When one checkpoint finds several flags, the division by zero or overflow is reported:
// an invalid operation that follows them is almost always their consequence (inf - inf,
// 0 * inf), while a NaN from an earlier invalid operation passes on quietly and flags nothing.
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
