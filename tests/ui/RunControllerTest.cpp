// The window's run without the window: its states as the hooks see them, the step limit, a close
// asked during a run, and the ring that records the run.

#include <QtTest>
#include <vector>

#include "tests/ui/MainFormHarness.h"
#include "ui/main/RunController.h"

using namespace velmora;
using namespace velmora::testing;

class RunControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void statesFollowTheRunAndACloseWaitsForItsEnd();
  void theRingGoesOnFromItsLastStateAndBeginsAnewOtherwise();
};

namespace {

// A controller on `model` whose hooks note the state at every step and stop at the limit.
struct Probe {
  Model& model;
  std::vector<RunController::State> seen{};
  std::vector<bool> running{};
  RunController run{model,
                    {[] { return StepSettings{}; }, [this](int) { seen.push_back(run.Current()); },
                     [this](bool on) { running.push_back(on); }, [this] { model.Stopped = true; }}};
  void Go(int steps) {
    run.SetStopAfterSteps(steps);
    model.Stopped = false;
    run.Run();
  }
};

}  // namespace

void RunControllerTest::statesFollowTheRunAndACloseWaitsForItsEnd() {
  Model model = Scene();
  Probe probe{model};
  QCOMPARE(probe.run.Current(), RunController::State::Idle);
  QVERIFY(probe.run.MayClose());
  probe.Go(3);
  QCOMPARE(model.StepCount, 3);
  QCOMPARE(probe.seen, std::vector<RunController::State>(3, RunController::State::Running));
  QCOMPARE(probe.running, (std::vector<bool>{true, false}));
  QCOMPARE(probe.run.Current(), RunController::State::Idle);
  QVERIFY(!probe.run.CloseDue());

  // Stop, and a close asked, from within the run's steps.
  probe.seen.clear();
  probe.run.SetStopAfterSteps(0);
  std::vector<RunController::State> after;
  RunController asking(model, {[] { return StepSettings{}; },
                               [&](int counter) {
                                 if (counter == 5) QVERIFY(!asking.MayClose());
                                 if (counter == 6) model.Stopped = true;
                                 after.push_back(asking.Current());
                               },
                               [](bool) {}, [] {}});
  model.Stopped = false;
  asking.Run();
  QCOMPARE(model.StepCount, 6);
  QCOMPARE(after,
           (std::vector<RunController::State>{RunController::State::Running, RunController::State::ExitAsked,
                                              RunController::State::ExitAsked}));
  QVERIFY(asking.CloseDue());
}

void RunControllerTest::theRingGoesOnFromItsLastStateAndBeginsAnewOtherwise() {
  Model model = Scene();
  Probe probe{model};
  probe.run.Ring().SetCapacity(10);
  const struct {
    const char* what;
    bool recording;
    bool changeScene;
    int steps;
    int kept;
    int oldestStep;
  } runs[] = {
      {"first run: its start and 4 steps", true, false, 4, 5, 0},
      {"on from the last state", true, false, 3, 8, 0},
      {"beyond the capacity", true, false, 4, 10, 2},
      {"another scene begins anew", true, true, 2, 3, 11},
      {"not recording", false, false, 2, 3, 11},
  };
  for (const auto& r : runs) {
    probe.run.SetRecording(r.recording);
    if (r.changeScene) model.V[1] = 0.0L;
    probe.Go(r.steps);
    QVERIFY2(probe.run.Ring().Size() == r.kept, r.what);
    QVERIFY2(probe.run.Ring().StepOf(0) == r.oldestStep, r.what);
  }
  // The last state kept is the scene as the run left it, bit for bit.
  model = Scene();
  probe.run.SetRecording(true);
  probe.Go(2);
  SceneState last = Scene();
  probe.run.Ring().RestoreInto(last, probe.run.Ring().Size() - 1);
  QVERIFY(last == model.Scene());
}

QTEST_MAIN(RunControllerTest)
#include "RunControllerTest.moc"
