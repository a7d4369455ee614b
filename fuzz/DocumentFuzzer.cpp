// Opening a document as File > Open does, then a step and a listing. The input is the file; a
// byte after the 6296 of the record (which reading ignores) chooses the window's switches.
// Promises checked:
// - a file shorter than the record is "Read beyond end of file" and changes nothing;
// - saving the opened document gives its record back, flags as 0 or 1;
// - listing and drawing, before and after the step, raise no floating-point fault;
// - a step completes or throws FloatingPointFault with one of the program's texts, and the fast
//   evaluation leaves exactly the literal one's bits;
// - the same stepper then steps a sane scene as a fresh one does.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "documents/DocumentFile.h"
#include "documents/IoErrors.h"
#include "fuzz/FuzzSupport.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"
#include "text/Listing.h"
#include "text/NumberText.h"
#include "view/SceneProjection.h"

namespace velmora::fuzz {
namespace {

Model EmptyModel() {
  Model model;
  model.N = SlotCount;
  return model;
}

// "" when the step completed, otherwise the fault's text.
std::string StepOutcome(Stepper& stepper, Model& model, const StepSettings& settings) {
  int counter = 0;
  try {
    stepper.Step(model, settings, counter);
    Require(counter == 1 && model.StepCount == 1, "a completed step is counted");
    return "";
  } catch (const FloatingPointFault& fault) {
    Require(counter == 1 && model.StepCount == 0, "a faulting step keeps the step count");
    return fault.what();
  }
}

struct Fixture {
  ScratchFolder folder;
  Stepper literal{Evaluation::Literal};
  Stepper fast{Evaluation::Fast, 2};
  Model sane = SaneScene();
  Model saneStepped = SteppedLiterally(sane);

  static Model SaneScene() {
    std::mt19937_64 rng(6296);
    return testing::RandomScene(rng, 1.3L, 0.15, false);
  }
  static Model SteppedLiterally(Model model) {
    Stepper stepper(Evaluation::Literal);
    Require(StepOutcome(stepper, model, {}) == "", "the sane scene steps");
    return model;
  }
};

void CheckShortDocument(const std::string& path) {
  Model model = EmptyModel();
  model.Snapshot.fill(0x5A);
  const auto before = model.Snapshot;
  try {
    ReadDocumentFile(model, path);
    Require(false, "a short document is refused");
  } catch (const IoError& error) {
    Require(error.code() == io_code::ReadBeyondEndOfFile, "a short document is read beyond its end");
  }
  Require(model.Snapshot == before, "a short document changes nothing");
}

void CheckSavedRecord(const Model& opened) {
  Model saved = opened;
  TakeSnapshot(saved);
  Require(saved.Snapshot == opened.Snapshot, "saving gives the record back byte for byte");
}

void CheckListingAndDrawing(Model& model) {
  ClearFaultFlags();
  std::string shown = ListingText(model, false, '.') + ListingText(model, true, ',');
  shown += FormatReal(model.dt, ',');
  for (int p = 0; p < ParameterCount; ++p) shown += FormatReal(Parameter(model, p), '.');
  Require(!FaultFlagged(), "the listing raises no fault");
  ViewState view;
  ProjectParticles(view, model);
}

void CheckStep(Fixture& f, const Model& opened, const StepSettings& settings) {
  static const std::set<std::string> texts = {"", InvalidOperationText, DivisionByZeroText, OverflowText};
  Model a = opened, b = opened;
  const std::string literalOutcome = StepOutcome(f.literal, a, settings);
  const std::string fastOutcome = StepOutcome(f.fast, b, settings);
  Require(texts.count(literalOutcome) == 1, "a step faults only with the program's texts");
  Require(fastOutcome == literalOutcome, "both evaluations end the step alike");
  const std::string difference = testing::FirstDifference(a, b);
  Require(difference.empty(), "both evaluations leave the same bits; first difference: " + difference);
  CheckListingAndDrawing(b);

  b = f.sane;
  Require(StepOutcome(f.fast, b, {}) == "", "the stepper steps a sane scene after a hostile one");
  Require(testing::FirstDifference(b, f.saneStepped).empty(), "the sane step gives the fresh stepper's bits");
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  using namespace velmora::fuzz;
  static Fixture f;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = f.folder.Write("input.ato", bytes);
  if (size < SnapshotSize) {
    CheckShortDocument(path);
    return 0;
  }
  Model model = EmptyModel();
  ReadDocumentFile(model, path);
  ApplySnapshot(model);
  CheckSavedRecord(model);
  CheckListingAndDrawing(model);
  CheckStep(f, model, testing::SettingsOf(size > SnapshotSize ? data[SnapshotSize] : 0));
  return 0;
}
