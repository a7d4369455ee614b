// Runs without the window: the same bits as the stepper, the trajectory's frames, and nothing
// written when the run or a file fails.

#include <gtest/gtest.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/DocumentFile.h"
#include "documents/XyzTrajectory.h"
#include "run/BatchRun.h"
#include "tests/core/SceneFactory.h"
#include "text/Listing.h"

namespace velmora {
namespace {

using namespace testing;

// The scene of a document as File > Open leaves it.
Model Opened(const std::string& name) {
  Model m = EmptyDocument();
  ReadDocumentFile(m, name);
  ApplySnapshot(m);
  return m;
}

std::string WriteRandomScene(const TemporaryFolder& folder, unsigned seed) {
  Model m = WideRandomScene(seed);
  const std::string name = folder.Path("scene.ato");
  WriteDocumentFile(m, name);
  return name;
}

TEST(BatchRun, DocumentTrajectoryAndListingHoldTheStepperBits) {
  TemporaryFolder folder;
  BatchJob job;
  job.scene = WriteRandomScene(folder, 1);
  job.steps = 7;
  job.settings.Blockade = job.settings.Cool = true;
  job.settings.Mode = BoundaryMode::HotContact;
  job.dt = 0.0005L;
  job.output = folder.Path("after.ato");
  job.trajectory = folder.Path("run.xyz");
  job.every = 3;
  job.listing = ListingKind::Velocities;
  Stepper stepper;
  BatchResult result = RunBatch(job, stepper);
  result.outputs.Commit();
  const std::string& listing = result.listing;

  Model reference = Opened(job.scene);
  reference.dt = 0.0005L;
  Stepper referenceStepper;
  std::string frames;
  AppendXyzFrame(frames, reference, 0);
  for (int counter = 0; counter < job.steps;) {
    referenceStepper.Step(reference, job.settings, counter);
    if (counter % 3 == 0) AppendXyzFrame(frames, reference, counter);
  }
  WriteDocumentFile(reference, folder.Path("reference.ato"));
  EXPECT_EQ(ReadBytes(job.output), ReadBytes(folder.Path("reference.ato")));
  EXPECT_EQ(ReadBytes(job.trajectory), frames);
  EXPECT_EQ(listing, ListingText(reference, true, '.'));
}

struct FaultCase {
  const char* name;
  Model scene;
  const char* message;
  int step;
};

// Two present slots meet: at once, or after four steps of free flight towards each other
// (the length parameters are so large that no force acts until they meet).
std::vector<FaultCase> FaultCases() {
  Model coincident = testing::EmptyScene();
  testing::Place(coincident, 1, 0.3L, 0.2L, 0.1L);
  testing::Place(coincident, 2, 0.3L, 0.2L, 0.1L);
  Model approaching = testing::EmptyScene();
  for (int g = 1; g <= GroupCount; ++g) {
    using testing::Vanishing;
    testing::SetGroup(approaching, g, 1.0L, Vanishing, Vanishing, Vanishing, Vanishing, Vanishing);
  }
  approaching.dt = 1.0L;
  testing::Place(approaching, 1, -1.0L, 0.5L, 0.5L);
  testing::Place(approaching, 2, 1.0L, 0.5L, 0.5L);
  approaching.V[1] = approaching.NewV[1] = 0.25L;
  approaching.V[2] = approaching.NewV[2] = -0.25L;
  return {{"coincident", coincident, "Floating point division by zero", 1},
          {"approaching", approaching, "Floating point division by zero", 5}};
}

TEST(BatchRun, FaultNamesItsStepAndWritesNothing) {
  for (FaultCase& c : FaultCases()) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    BatchJob job;
    job.scene = folder.Path("scene.ato");
    WriteDocumentFile(c.scene, job.scene);
    job.steps = 10;
    job.output = folder.Path("after.ato");
    WriteBytes(job.output, "an older document");
    job.trajectory = folder.Path("run.xyz");
    Stepper stepper;
    try {
      RunBatch(job, stepper);
      FAIL() << "the run did not fault";
    } catch (const StepFault& fault) {
      EXPECT_STREQ(fault.what(), c.message);
      EXPECT_EQ(fault.Step(), c.step);
    }
    EXPECT_EQ(ReadBytes(job.output), "an older document");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"after.ato", "scene.ato"}));
  }
}

TEST(BatchRun, FileErrorsNameTheFileAndComeBeforeTheRun) {
  TemporaryFolder folder;
  const std::string scene = WriteRandomScene(folder, 9);
  WriteBytes(folder.Path("short.ato"), std::string(6295, '\0'));
  struct ErrorCase {
    std::string scene, output, trajectory, message;
  };
  const ErrorCase cases[] = {
      {folder.Path("missing.ato"), "", "", folder.Path("missing.ato") + ": File not found"},
      {folder.Path("short.ato"), "", "", folder.Path("short.ato") + ": Read beyond end of file"},
      {scene, folder.Path("no/after.ato"), "", folder.Path("no/after.ato") + ": File not found"},
      {scene, folder.Path("after.ato"), folder.Path("no/run.xyz"),
       folder.Path("no/run.xyz") + ": File not found"},
  };
  for (const ErrorCase& c : cases) {
    BatchJob job;
    job.scene = c.scene;
    job.output = c.output;
    job.trajectory = c.trajectory;
    job.steps = 1000000;  // never run: the error comes first
    int watched = 0;
    Stepper stepper;
    try {
      RunBatch(job, stepper, [&](int) { ++watched; });
      FAIL() << c.message;
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_EQ(watched, 0) << c.message;
  }
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"scene.ato", "short.ato"}));
}

TEST(BatchRun, WatcherSeesEveryStepAndCanEndTheRunWithoutOutput) {
  TemporaryFolder folder;
  BatchJob job;
  job.scene = WriteRandomScene(folder, 4);
  job.steps = 5;
  job.output = folder.Path("after.ato");
  job.trajectory = folder.Path("run.xyz");
  struct Stop {};
  std::vector<int> seen;
  Stepper stepper;
  EXPECT_THROW(RunBatch(job, stepper,
                        [&](int done) {
                          seen.push_back(done);
                          if (done == 3) throw Stop{};
                        }),
               Stop);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
}

}  // namespace
}  // namespace velmora
