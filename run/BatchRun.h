#pragma once
// A run without a window: a document is read as File > Open reads it, run for a number of steps
// with the step the window runs (so a scene gives the same bits in both), and written out as a
// document, a trajectory, a table of measurements and a listing. The batch tool is this plus its command
// line.

#include <functional>
#include <optional>
#include <string>

#include "documents/OutputGroup.h"
#include "model/Model.h"
#include "model/ProgramError.h"
#include "sim/StepFault.h"
#include "sim/StepSettings.h"
#include "sim/Stepper.h"
#include "structure/StructureAnalysis.h"

namespace velmora {

enum class ListingKind { None, Positions, Velocities };

// Called with the scene at the trajectory's instants: before the first step and after every
// `every`-th step, with the number of steps done. It may throw to end the run.
using FrameWatcher = std::function<void(const Model& model, int done)>;

struct BatchJob {
  std::string scene;           // the document to run; or, when empty:
  std::string fromXyz;         // the last frame of an extended XYZ file, placed as PlaceAtoms does,
  std::string parametersFrom;  // with dt and parameters of this document, or those of NewScene
  int steps = 0;
  bool stepsGiven = false;  // --steps was on the command line
  StepSettings settings;
  // Relax the scene to this largest acceleration instead of running it, taking at most `steps`
  // steps (RelaxStepLimit when none were given); the outputs follow the relaxation's steps.
  std::optional<real> relax;
  std::optional<real> dt;  // replaces the scene's time step
  std::string output;      // the document after the run; none when empty
  std::string trajectory;  // extended XYZ: the starting frame and every `every`-th step; none when empty
  int every = 1;
  std::string log;  // the measurement table: the start and every `logEvery`-th step; "-" standard output
  int logEvery = 1;
  FrameWatcher frames;  // none when empty
  ListingKind listing = ListingKind::None;
  bool structure = false;     // the structure of the final scene follows the listing
  bool logStructure = false;  // the table carries the structure columns (see StructureLogHeader)
  StructureSettings structureSettings;
};

// The step limit of a relaxation when the command line gives none.
inline constexpr int RelaxStepLimit = 10000;

// Called after every step with the number of steps done; it may throw to end the run, which
// then writes nothing.
using StepWatcher = std::function<void(int done)>;

// What a run leaves: its listing (empty when none was asked for) and its files, complete but not
// yet in their targets' places. Commit puts them there, after writing the listing (see
// OutputGroup); a result that goes without Commit removes them and leaves every target as it was.
struct BatchResult {
  std::string listing;  // with a relaxation, its steps and largest acceleration come first
  OutputGroup outputs;
};

// Reads job.scene and runs job.steps steps, writing the outputs as it goes. A run of steps on a
// scene holding a value that is not a number throws FloatingPointFault (see ThrowIfNotANumber)
// before anything is opened. A fault of a step throws StepFault; a failing file operation throws
// IoError with the file's name before the program's text ("scene.ato: File not found"); an output
// that cannot be written is found before the first
// step. When the run fails nothing is written or changed (a table on the standard output has its
// rows up to the failure).
BatchResult RunBatch(const BatchJob& job, Stepper& stepper, const StepWatcher& watch = nullptr);

}  // namespace velmora
