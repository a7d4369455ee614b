#include "ui/main/RunController.h"

#include <QCoreApplication>
#include <utility>

namespace velmora {

RunController::RunController(Model& model, Hooks hooks) : model_(model), hooks_(std::move(hooks)) {}

RunController::State RunController::Current() const {
  if (depth_ == 0) return State::Idle;
  if (closeAsked_) return State::ExitAsked;
  return model_.Stopped ? State::StopAsked : State::Running;
}

bool RunController::MayClose() {
  if (depth_ == 0) return true;
  closeAsked_ = true;
  return false;
}

// The ring goes on from its last state when the run starts from it; any other scene begins anew.
void RunController::KeepStart(const StepSettings& settings) {
  if (ring_.Size() > 0) {
    SceneState last = model_.Scene();
    ring_.RestoreInto(last, ring_.Size() - 1);
    if (last == model_.Scene()) return;
  }
  ring_.Clear();
  ring_.Keep(model_, settings);
}

void RunController::Run() {
  ++depth_;
  hooks_.running(true);
  struct Leave {
    RunController& run;
    ~Leave() { run.hooks_.running(--run.depth_ > 0); }
  } leave{*this};
  int counter = model_.StepCount;
  int steps = 0;
  for (bool first = true;; first = false) {
    const StepSettings settings = hooks_.settings();
    if (first && recording_) KeepStart(settings);
    stepper_.Step(model_, settings, counter);
    if (recording_) ring_.Keep(model_, settings);
    hooks_.stepDone(counter);
    QCoreApplication::processEvents();
    if (stopAfterSteps_ > 0 && ++steps == stopAfterSteps_ && !model_.Stopped) hooks_.limitReached();
    if (model_.Stopped) return;
  }
}

}  // namespace velmora
