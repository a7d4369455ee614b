#pragma once
// A floating-point fault of a run, with the step at which it arose: what every driver of a run
// (the batch run, the Python module) reports when a step faults.

#include "model/ProgramError.h"

namespace velmora {

class StepFault : public FloatingPointFault {
 public:
  StepFault(const FloatingPointFault& fault, int step) : FloatingPointFault(fault), step_(step) {}
  int Step() const { return step_; }

 private:
  int step_;
};

}  // namespace velmora
