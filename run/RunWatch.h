#pragma once
// A tool's watch over its run between two steps: the progress line on a terminal (not with
// --quiet), and Ctrl+C or a termination request, which ends the run by throwing Interrupted so
// that the tool can tidy up before RaiseCaughtInterruption ends it.

#include <optional>

#include "run/BatchRun.h"
#include "run/ProgressLine.h"

namespace velmora {

class RunWatch {
 public:
  struct Interrupted {};

  // Starts catching interruptions.
  RunWatch(int steps, bool quiet);

  // For RunBatch; it throws Interrupted.
  StepWatcher Watcher();
  // Throws Interrupted when an interruption was caught.
  void ThrowIfInterrupted() const;
  // The steps completed so far.
  int Done() const { return done_; }
  // Takes the progress line off the terminal, before anything else is written there.
  void ClearProgress();

 private:
  std::optional<ProgressLine> progress_;
  int done_ = 0;
};

}  // namespace velmora
