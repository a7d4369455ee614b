// Undo of the scene's commands and the run ring's resume.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "documents/DocumentFile.h"
#include "figures/FigureBuilder.h"
#include "history/RunRing.h"
#include "history/UndoHistory.h"
#include "model/AtomPlacement.h"
#include "model/NewScene.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

// The bytes Save would write.
std::string DocumentBytes(Model model) {
  TakeSnapshot(model);
  return std::string(reinterpret_cast<const char*>(model.Snapshot.data()), model.Snapshot.size());
}

// A scene as a document read from a file leaves it: flag bytes other than 1, padding not zero.
Model ReadDocument() {
  Model m = testing::WideRandomScene(7);
  TakeSnapshot(m);
  for (std::size_t b = 190; b < record::X; ++b) m.Snapshot[b] = 0xA5;
  for (int i = 1; i <= m.N; ++i)
    if (m.Present[i]) m.Snapshot[record::Present + i - 1] = static_cast<unsigned char>(i);
  ApplySnapshot(m);
  return m;
}

void RunSteps(Model& m, int steps) {
  Stepper stepper;
  int counter = m.StepCount;
  for (int s = 0; s < steps; ++s) stepper.Step(m, {}, counter);
}

// Each command as the window records it, one after another on the same scene: Undo gives the
// bytes saved before it, Redo those after, and the whole history walks back and forth.
TEST(UndoHistory, UndoAndRedoGiveTheDocumentBytesBeforeAndAfterEachCommand) {
  const struct {
    const char* name;
    std::function<void(Model&)> command;
  } commands[] = {
      {"Run of 5 Steps", [](Model& m) { RunSteps(m, 5); }},
      {"Zero Velocities", [](Model& m) { ZeroVelocities(m); }},
      {"dt", [](Model& m) { m.dt = 0.0025L; }},
      {"C2", [](Model& m) { Parameter(m, 8) = -0.0L; }},
      {"Editor Changes",
       [](Model& m) {
         PlaceAtoms(m, {{0, {1, 2, 3}, {0, 0, 1}}, {0, {-1, 0, 0}, {}}}, false);
       }},
      {"Easy Square", [](Model& m) { BuildFigure(m, TetrahedronSpiral); }},
      {"New", [](Model& m) { m.Scene() = NewScene(); }},
  };
  Model m = ReadDocument();
  UndoHistory history;
  std::vector<std::string> saved = {DocumentBytes(m)};
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    const SceneState before = m;
    c.command(m);
    ASSERT_TRUE(history.Record(c.name, before, m));
    const std::string after = DocumentBytes(m);
    EXPECT_EQ(history.UndoName(), c.name);
    m.Scene() = history.Undo();
    EXPECT_TRUE(DocumentBytes(m) == saved.back());
    EXPECT_EQ(history.RedoName(), c.name);
    m.Scene() = history.Redo();
    EXPECT_TRUE(DocumentBytes(m) == after);
    saved.push_back(after);
  }
  for (std::size_t k = saved.size() - 1; k > 0; --k) m.Scene() = history.Undo();
  EXPECT_TRUE(DocumentBytes(m) == saved.front());
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(history.IsClean());
  while (history.CanRedo()) m.Scene() = history.Redo();
  EXPECT_TRUE(DocumentBytes(m) == saved.back());
}

TEST(UndoHistory, SceneComparesByBits) {
  const std::function<void(SceneState&)> changes[] = {
      [](SceneState& s) { s.X[3] = -s.X[3]; },
      [](SceneState& s) { s.NewW[100] = 1e-4950L; },
      [](SceneState& s) { s.ShownZ[1] = 1.0L; },
      [](SceneState& s) { s.G3 = -0.0L; },
      [](SceneState& s) { s.dt = -0.0L; },
      [](SceneState& s) { s.Present[50] = true; },
      [](SceneState& s) { s.Snapshot[6295] = 1; },
      [](SceneState& s) { s.StepCount = 1; },
      [](SceneState& s) { s.N = 99; },
  };
  const SceneState zero;
  for (const auto& change : changes) {
    SceneState changed = zero;
    change(changed);
    EXPECT_FALSE(changed == zero);
    EXPECT_TRUE(SceneState(changed) == changed);
  }
}

TEST(UndoHistory, KeepsItsLevelsAndItsCleanMark) {
  SceneState scenes[6];
  for (int k = 0; k < 6; ++k) scenes[k].StepCount = k;
  UndoHistory history(3);
  EXPECT_FALSE(history.Record("nothing", scenes[0], scenes[0]));
  for (int k = 1; k <= 2; ++k) history.Record("c" + std::to_string(k), scenes[k - 1], scenes[k]);
  history.MarkClean();
  history.Record("c3", scenes[2], scenes[3]);
  EXPECT_FALSE(history.IsClean());
  EXPECT_EQ(history.Undo().StepCount, 2);
  EXPECT_TRUE(history.IsClean());
  EXPECT_EQ(history.Undo().StepCount, 1);
  EXPECT_FALSE(history.IsClean());
  // A new command cuts away the undone ones, the saved place among them.
  history.Record("c4", scenes[1], scenes[4]);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.Undo().StepCount, 1);
  EXPECT_FALSE(history.IsClean());
  EXPECT_EQ(history.Redo().StepCount, 4);
  // Beyond three levels the oldest is forgotten, and the saved place moves with the rest.
  history.Record("c5", scenes[4], scenes[5]);
  history.MarkClean();
  history.Record("c6", scenes[5], scenes[0]);
  EXPECT_EQ(history.Size(), 3u);
  EXPECT_EQ(history.Undo().StepCount, 5);
  EXPECT_TRUE(history.IsClean());
  history.Undo(), history.Undo();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.RedoName(), "c4");
  history.Clear();
  EXPECT_TRUE(history.IsClean());
  EXPECT_EQ(history.UndoName(), "");
  EXPECT_GE(UndoHistory::DefaultLevels, 200u);
}

TEST(UndoHistory, RunEntryNamesGroupTheDigits) {
  const struct {
    std::uint64_t steps;
    const char* name;
  } cases[] = {{0, "Run of 0 Steps"},
               {1, "Run of 1 Step"},
               {999, "Run of 999 Steps"},
               {1000, "Run of 1,000 Steps"},
               {1234, "Run of 1,234 Steps"},
               {123456, "Run of 123,456 Steps"},
               {1234567, "Run of 1,234,567 Steps"}};
  for (const auto& c : cases) EXPECT_EQ(RunEntryName(c.steps), c.name);
  EXPECT_EQ(ResumeEntryName(1234567), "Resume from Step 1,234,567");
}

// Resume from kept step k, run on to n: every step gives the bits of the first run, in every
// mode and with every switch, on one thread and on three. The ring holds fewer states than the
// run made, so the oldest it still holds is the one resumed from.
TEST(RunRing, ResumeGivesTheFirstRunsStatesBitForBit) {
  constexpr int Steps = 14, Capacity = 10, From = Steps + 1 - Capacity;
  std::vector<StepSettings> cases;
  for (int mode = 0; mode < 5; ++mode) cases.push_back(testing::SettingsOf(static_cast<unsigned>(mode) << 4));
  for (unsigned bit : {1u, 2u, 4u, 8u}) cases.push_back(testing::SettingsOf(bit | (1u << 4)));
  for (const int threads : {1, 3})
    for (const StepSettings& settings : cases) {
      SCOPED_TRACE(::testing::Message()
                   << "threads " << threads << ", mode " << static_cast<int>(settings.Mode)
                   << (settings.Blockade ? ", Blockade" : "") << (settings.Cool ? ", Cool" : "")
                   << (settings.Law.Functions3X1 ? ", 3X1" : "")
                   << (settings.Law.Taoscope ? ", Taoscope" : ""));
      Model first = testing::WideRandomScene(11);
      first.StepCount = 500;
      RunRing ring(Capacity);
      Stepper stepper(Evaluation::Fast, threads);
      int counter = first.StepCount;
      ring.Keep(first, settings);
      for (int s = 0; s < Steps; ++s) {
        stepper.Step(first, settings, counter);
        ring.Keep(first, settings);
      }
      ASSERT_EQ(ring.Size(), Capacity);
      ASSERT_EQ(ring.StepOf(0), 500 + From);

      Model resumed = testing::WideRandomScene(12);
      ring.RestoreInto(resumed, 0);
      EXPECT_TRUE(ring.SettingsOf(0) == settings);
      Stepper again(Evaluation::Fast, threads);
      counter = resumed.StepCount;
      for (int k = 1; k < Capacity; ++k) {
        again.Step(resumed, settings, counter);
        Model kept = testing::WideRandomScene(13);
        ring.RestoreInto(kept, k);
        ASSERT_EQ(testing::FirstDifference(resumed, kept), "") << "step " << ring.StepOf(k);
      }
      EXPECT_TRUE(resumed.Scene() == first.Scene());
      ring.DropAfter(3);
      EXPECT_EQ(ring.Size(), 4);
      ring.Keep(first, settings);
      EXPECT_EQ(ring.StepOf(4), 500 + Steps);
    }
}

}  // namespace
}  // namespace velmora
