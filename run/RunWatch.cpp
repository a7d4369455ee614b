#include "run/RunWatch.h"

#include <unistd.h>

#include "run/Interruption.h"

namespace velmora {

RunWatch::RunWatch(int steps, bool quiet) {
  CatchInterruptions();
  if (!quiet && ::isatty(STDERR_FILENO)) progress_.emplace(steps);
}

StepWatcher RunWatch::Watcher() {
  return [this](int steps) {
    done_ = steps;
    if (CaughtInterruption()) throw Interrupted{};
    if (progress_) progress_->Update(steps);
  };
}

void RunWatch::ClearProgress() {
  if (progress_) progress_->Clear();
}

}  // namespace velmora
