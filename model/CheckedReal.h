#pragma once
// A real whose every operation looks at the fault flags as soon as it is done, so that a
// computation written with it stops at the first operation that faults and names that
// operation's fault. Its bits are those of real. Computing this way costs a flag test per
// operation; the program computes with real and looks at the flags at checkpoints, and where a
// checkpoint finds a fault, it repeats the stretch since the last one with CheckedReal
// (FirstFaultIn) to name the fault that the order of the formula meets first: an invalid
// operation early in a formula gives a NaN that raises nothing further, while a later,
// independent part may still overflow or divide by zero.
//
// The order is that of the statements that use it: operands of one operator are unsequenced in
// C++, so code that relies on the order forms one operation per statement.

#include <cmath>

#include "math/Transcendental.h"
#include "model/FloatingPointFaults.h"
#include "model/Real.h"

namespace velmora {

class CheckedReal {
 public:
  // Implicit, so that constants and stored reals enter checked formulas as they are.
  CheckedReal(real value = 0.0L) : value_(value) {}  // NOLINT(google-explicit-constructor)
  explicit operator real() const { return value_; }

  friend CheckedReal operator-(CheckedReal a) { return Done(-a.value_); }
  friend CheckedReal operator+(CheckedReal a, CheckedReal b) { return Done(a.value_ + b.value_); }
  friend CheckedReal operator-(CheckedReal a, CheckedReal b) { return Done(a.value_ - b.value_); }
  friend CheckedReal operator*(CheckedReal a, CheckedReal b) { return Done(a.value_ * b.value_); }
  friend CheckedReal operator/(CheckedReal a, CheckedReal b) { return Done(a.value_ / b.value_); }
  // A comparison with a NaN is an invalid operation too.
  friend bool operator>(CheckedReal a, CheckedReal b) { return Compared(a.value_ > b.value_); }
  friend CheckedReal sqrt(CheckedReal a) { return Done(std::sqrt(a.value_)); }
  friend CheckedReal Log(CheckedReal a) { return Done(Log(a.value_)); }
  friend CheckedReal Exp(CheckedReal a) { return Done(Exp(a.value_)); }

 private:
  // The result goes through memory before the flags are read, so that the compiler cannot move
  // the operation past the test.
  static CheckedReal Done(real result) {
    const volatile real stored = result;
    ThrowIfFaulted();
    return CheckedReal(stored);
  }
  static bool Compared(bool result) {
    const volatile bool stored = result;
    ThrowIfFaulted();
    return stored;
  }

  real value_;
};

// b raised to the power e as exp(e * ln b), each operation checked (see Power).
inline CheckedReal Power(CheckedReal e, CheckedReal b) {
  const CheckedReal logarithm = Log(b);
  const CheckedReal product = e * logarithm;
  return Exp(product);
}

// compute(real{}), the program's way. Should it raise a fault flag, it runs again as
// compute(CheckedReal{}) from clear flags, which throws the fault met first in its order. A
// flag raised before compute began (the repetition does not raise it) is thrown as it stands.
template <class Compute>
auto FirstFaultIn(Compute compute) {
  auto result = compute(real{});
  if (const int flagged = FlaggedFaults()) {
    ClearFaultFlags();
    compute(CheckedReal{});
    ThrowFault(flagged);
  }
  return result;
}

}  // namespace velmora
