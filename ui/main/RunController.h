#pragma once
// The window's run. "Go" starts it inside its handler, and it steps until a "Stop" click is seen:
// the loop lets every other handler run between two steps, so that what they change takes
// effect at the next step, and a run started from one of them (Go clicked again after Stop
// within the same turn of the message queue) runs inside the first. A request to end the program
// during a run waits until the run is over. While recording, every step is kept in the ring, and
// so is the state a run starts from unless the ring already ends with it.
//
//   Idle       no run is going;
//   Running    steps follow one another;
//   StopAsked  Stop was clicked, the loop returns after its current step;
//   ExitAsked  the window was asked to close during the run: it closes once the run is over.

#include <functional>

#include "history/RunRing.h"
#include "model/Model.h"
#include "sim/StepSettings.h"
#include "sim/Stepper.h"

namespace velmora {

class RunController {
 public:
  enum class State { Idle, Running, StopAsked, ExitAsked };

  struct Hooks {
    // The step's switches as the window shows them at its start.
    std::function<StepSettings()> settings;
    // After each step, with the step's counter: the picture, the listing and the instruments.
    std::function<void(int counter)> stepDone;
    // A run began (true) or the last one ended (false).
    std::function<void(bool running)> running;
    // A run with a step limit reached it: the window stops it as a click on "Stop" would.
    std::function<void()> limitReached;
  };

  RunController(Model& model, Hooks hooks);

  State Current() const;
  bool InProgress() const { return depth_ > 0; }

  // Steps from the scene's step count until the run is marked stopped. A fault of a step leaves
  // with the run still marked as going, as the error box says.
  void Run();
  // The window asks to close. During a run that is remembered and false is returned.
  bool MayClose();
  // The window asked to close during a run that has now ended.
  bool CloseDue() const { return closeAsked_ && depth_ == 0; }

  // The threads the stepper computes a step with.
  int Threads() const { return stepper_.Threads(); }

  // Test and benchmark hook: a run stops itself after this many steps; 0 lets it run on.
  void SetStopAfterSteps(int steps) { stopAfterSteps_ = steps; }

  // Recording into the ring, and the number of states it keeps (a new number forgets them).
  void SetRecording(bool recording) { recording_ = recording; }
  bool Recording() const { return recording_; }
  RunRing& Ring() { return ring_; }
  const RunRing& Ring() const { return ring_; }

 private:
  void KeepStart(const StepSettings& settings);

  Model& model_;
  Hooks hooks_;
  Stepper stepper_;
  RunRing ring_;
  bool recording_ = true;
  int depth_ = 0;
  bool closeAsked_ = false;
  int stopAfterSteps_ = 0;
};

}  // namespace velmora
