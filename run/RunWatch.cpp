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
    ThrowIfInterrupted();
    if (progress_) progress_->Update(steps);
  };
}

void RunWatch::ThrowIfInterrupted() const {
  if (CaughtInterruption()) throw Interrupted{};
}

void RunWatch::ClearProgress() {
  if (progress_) progress_->Clear();
}

}  // namespace velmora
