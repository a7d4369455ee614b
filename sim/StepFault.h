#pragma once
// A floating-point fault of a run, with the step at which it arose: what every driver of a run
// (the batch run, the Python module) reports when a step faults.

#include <cstdint>

#include "model/ProgramError.h"

namespace velmora {

class StepFault : public FloatingPointFault {
 public:
  // The step is 64 bits wide: a driver that counts beyond the 32-bit counter of the window reports its own
  // count.
  StepFault(const FloatingPointFault& fault, std::int64_t step) : FloatingPointFault(fault), step_(step) {}
  std::int64_t Step() const { return step_; }

 private:
  std::int64_t step_;
};

}  // namespace velmora
