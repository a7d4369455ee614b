#pragma once
// One step of the run loop without the window: the integration schedule (full or Blockade),
// the confinement mode and the step counter. The window draws and pumps its messages between
// two steps; the batch tool just calls Step again.

#include "model/Model.h"
#include "sim/FastLaw.h"
#include "sim/StepFault.h"
#include "sim/StepSettings.h"

namespace velmora {

enum class Evaluation {
  Literal,  // the pair law per slot, per axis and per call, as it is written
  Fast      // FastLaw: the same bits, what the program runs
};

// 0.95 with Cool checked, 1 otherwise.
real DampingFactor(bool cool);

class Stepper {
 public:
  // The fast evaluation runs on `threads` threads (the calling one included); every count gives
  // the same bits.
  explicit Stepper(Evaluation evaluation = Evaluation::Fast, int threads = DefaultThreadCount());

  // counter + 1 (2147483647 wraps to -2147483648); the schedule; the confinement mode;
  // StepCount := counter. A floating-point fault throws FloatingPointFault, naming the fault the
  // literal per-slot order meets first, and leaves the model as that order leaves it (some slots
  // advanced, some copied back; the faulting operation stores nothing); StepCount then keeps its
  // value.
  void Step(Model& model, const StepSettings& settings, int& counter);

  // Step as the drivers of a run (batch runs, the Python module) take it: a fault is thrown again
  // as StepFault with the number of the step that faulted.
  void RunStep(Model& model, const StepSettings& settings, int& counter);

  // The threads a fast step runs on.
  int Threads() const { return threads_; }

 private:
  void LiteralSchedule(Model& model, const StepSettings& settings) const;
  void FastSchedule(Model& model, const StepSettings& settings);
  // Both return false when a fault was flagged; the model is then partly advanced.
  bool FastFullSchedule(Model& model, real damping);
  bool FastBlockadeSchedule(Model& model, real damping);

  Evaluation evaluation_;
  int threads_;
  FastLaw law_;
  SlotArray<real> ax_{}, ay_{}, az_{};
};

// A run refuses to start on values it cannot compute with: when dt, a parameter, or a position
// or velocity of a present slot is not a number (a NaN, or an encoding the FPU does not take as
// a number), FloatingPointFault names the first one after the text of an invalid operation
// ("Invalid floating point operation: V of slot 12"). Every driver of a run calls it before the
// first step. Such a value would otherwise pass through the arithmetic without a fault and
// spread to every slot.
void ThrowIfNotANumber(const Model& model);

// The velocity reset of "Make null of velocity": V, U, W and their working copies become 0 for
// every slot, present or not; positions stay.
void ZeroVelocities(Model& model);

}  // namespace velmora
