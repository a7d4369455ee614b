#pragma once
// The FPU status flags as the program's errors. Arithmetic runs with every exception masked;
// the code clears the flags before a computation and looks at them at its checkpoints.
// Underflow, denormal operands and inexact results are not faults and are never looked at.

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

}  // namespace velmora
