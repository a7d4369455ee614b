#include "run/BatchRun.h"

#include <memory>
#include <optional>
#include <string_view>

#include "documents/DocumentFile.h"
#include "documents/IoErrors.h"
#include "documents/ObservableLogFile.h"
#include "documents/OutputGroup.h"
#include "documents/XyzFrameReader.h"
#include "documents/XyzTrajectory.h"
#include "model/NewScene.h"
#include "relax/FireRelaxer.h"
#include "text/Listing.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"
#include "text/StructureText.h"

namespace velmora {

namespace {

// The file's name goes with the program's text (OnFile): a batch run touches several files.
void ReadScene(Model& model, const std::string& name) {
  OnFile(name, [&] { ReadDocumentFile(model, name); });
  ApplySnapshot(model);
}

// A structure's slots with the time step and parameters of a document or of a new scene.
void PlaceStructure(Model& model, const BatchJob& job) {
  model = NewScene();
  if (!job.parametersFrom.empty()) {
    Model parameters;
    parameters.N = SlotCount;
    ReadScene(parameters, job.parametersFrom);
    model.dt = parameters.dt;
    for (int p = 0; p < ParameterCount; ++p) Parameter(model, p) = Parameter(parameters, p);
  }
  const XyzFrame frame = ReadLastXyzFrame(job.fromXyz);
  try {
    PlaceAtoms(model, frame.atoms, frame.withSlots);
  } catch (const ProgramError& error) {
    throw ProgramError(ShownName(job.fromXyz) + ": " + error.what());
  }
}

std::unique_ptr<Model> OpenScene(const BatchJob& job) {
  auto model = std::make_unique<Model>();
  model->N = SlotCount;
  if (job.fromXyz.empty())
    ReadScene(*model, job.scene);
  else
    PlaceStructure(*model, job);
  model->StepCount = 0;
  if (job.dt) model->dt = *job.dt;
  return model;
}

// The steps of a run, or of a relaxation to rest, each followed by `afterStep(done)`; what a
// relaxation reports.
std::string Advance(const BatchJob& job, Model& m, Stepper& stepper,
                    const std::function<void(int)>& afterStep) {
  if (!job.relax) {
    int counter = m.StepCount;
    for (int done = 1; done <= job.steps; ++done) {
      stepper.RunStep(m, job.settings, counter);
      afterStep(done);
    }
    return {};
  }
  FastLaw fast(stepper.Threads());
  const int limit = job.stepsGiven ? job.steps : RelaxStepLimit;
  const RelaxResult result =
      Relax(m, LawField(fast, job.settings.Law), *job.relax, limit, [&](int done, real) {
        m.StepCount = done;
        afterStep(done);
      });
  return "relax_steps\t" + std::to_string(result.steps) + "\nlargest_acceleration\t" +
         FormatReal(result.largestAcceleration, '.') + "\nat_rest\t" + (result.converged ? "yes" : "no") +
         "\n";
}

std::string StructureOf(const Model& m, const StructureSettings& settings) {
  std::vector<int> slots;
  const Points points = PresentPoints(m, &slots);
  return StructureText(AnalyseStructure(points, settings), slots);
}

}  // namespace

BatchResult RunBatch(const BatchJob& job, Stepper& stepper, const StepWatcher& watch) {
  const std::unique_ptr<Model> model = OpenScene(job);
  Model& m = *model;
  if (job.steps > 0) ThrowIfNotANumber(m);

  // Every output is opened before the run, so that a folder that is missing or may not be
  // written is reported at once and not after hours of steps.
  BatchResult result;
  OutputGroup& outputs = result.outputs;
  PendingFile* document = nullptr;
  if (!job.output.empty()) OnFile(job.output, [&] { document = &outputs.Add(job.output); });
  std::optional<XyzTrajectory> trajectory;
  if (!job.trajectory.empty()) {
    OnFile(job.trajectory, [&] {
      trajectory.emplace(job.trajectory, outputs);
      trajectory->WriteFrame(m, m.StepCount);
    });
  }
  if (job.frames) job.frames(m, 0);

  std::optional<ObservableLogFile> log;
  const auto logRow = [&] {
    OnFile(job.log, [&] {
      log->WriteRow(m.StepCount, Measure(m, job.settings.Law),
                    job.logStructure
                        ? StructureLogCells(AnalyseStructure(PresentPoints(m), job.structureSettings))
                        : std::string());
    });
  };
  if (!job.log.empty()) {
    OnFile(job.log,
           [&] { log.emplace(job.log, outputs, job.logStructure ? StructureLogHeader() : std::string()); });
    logRow();
  }

  result.listing = Advance(job, m, stepper, [&](int done) {
    if (done % job.every == 0) {
      if (trajectory) OnFile(job.trajectory, [&] { trajectory->WriteFrame(m, m.StepCount); });
      if (job.frames) job.frames(m, done);
    }
    if (log && done % job.logEvery == 0) logRow();
    if (watch) watch(done);
  });

  if (document) {
    // The document writer's record: the model through Snapshot, padding as the scene held it.
    TakeSnapshot(m);
    document->Append(std::string_view(reinterpret_cast<const char*>(m.Snapshot.data()), m.Snapshot.size()));
  }
  if (job.listing != ListingKind::None)
    result.listing += ListingText(m, job.listing == ListingKind::Velocities, '.');
  if (job.structure) result.listing += StructureOf(m, job.structureSettings);
  return result;
}

}  // namespace velmora
