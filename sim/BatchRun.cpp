#include "sim/BatchRun.h"

#include <memory>
#include <optional>

#include "documents/DocumentFile.h"
#include "documents/XyzTrajectory.h"
#include "text/Listing.h"

namespace velmora {

namespace {

// The file's name goes with the program's text: a batch run touches up to three files.
template <class Operation>
auto OnFile(const std::string& name, Operation operation) {
  try {
    return operation();
  } catch (const IoError& error) {
    throw IoError(error.code(), name + ": " + error.what());
  }
}

}  // namespace

std::string RunBatch(const BatchJob& job, Stepper& stepper, const StepWatcher& watch) {
  const auto model = std::make_unique<Model>();
  Model& m = *model;
  m.N = SlotCount;
  OnFile(job.scene, [&] { ReadDocumentFile(m, job.scene); });
  ApplySnapshot(m);
  m.StepCount = 0;
  if (job.dt) m.dt = *job.dt;

  std::optional<XyzTrajectory> trajectory;
  if (!job.trajectory.empty()) {
    OnFile(job.trajectory, [&] { trajectory.emplace(job.trajectory); });
    OnFile(job.trajectory, [&] { trajectory->WriteFrame(m, m.StepCount); });
  }
  int counter = m.StepCount;
  for (int done = 1; done <= job.steps; ++done) {
    try {
      stepper.Step(m, job.settings, counter);
    } catch (const FloatingPointFault& fault) {
      throw StepFault(fault, counter);
    }
    if (trajectory && done % job.every == 0) OnFile(job.trajectory, [&] { trajectory->WriteFrame(m, counter); });
    if (watch) watch(done);
  }

  if (trajectory) OnFile(job.trajectory, [&] { trajectory->Finish(); });
  if (!job.output.empty()) OnFile(job.output, [&] { WriteDocumentFile(m, job.output); });
  if (job.listing == ListingKind::None) return {};
  return ListingText(m, job.listing == ListingKind::Velocities, '.');
}

}  // namespace velmora
