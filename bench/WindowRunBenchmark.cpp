// The window's run loop against the core's own stepping, on the 100-slot benchmark scene: the
// same number of steps from the same state, once through Stepper::Step alone and once through a
// click on "Go" in the main window (offscreen), which also reads the switches, draws the scene
// and pumps the message queue after every step. Each side is timed several times and its best
// time kept. The last line printed is window_vs_core=R, the window's steps per second as a share
// of the core's.
//
//   build-ui/ui/velmora_window_bench [steps] [repeats]

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchmarkScenes.h"
#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "sim/Stepper.h"
#include "ui/DialogProvider.h"
#include "ui/MainForm.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CoreRun(const velmora::Model& scene, int steps) {
  velmora::Model model = scene;
  velmora::Stepper stepper;
  int counter = 0;
  const Clock::time_point start = Clock::now();
  for (int step = 0; step < steps; ++step) stepper.Step(model, {}, counter);
  return Seconds(Clock::now() - start);
}

// The window loads the scene as its start document, as a user's last document would be.
double WindowRun(const std::string& document, int steps) {
  velmora::WriteStartFile(document);
  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm form(model, view);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "window not exposed\n");
  form.SetStopAfterSteps(steps);
  auto* go = form.findChild<QPushButton*>(QStringLiteral("Go"));
  const Clock::time_point start = Clock::now();
  go->click();
  const double seconds = Seconds(Clock::now() - start);
  if (model.StepCount != steps) std::fprintf(stderr, "the window ran %d steps\n", model.StepCount);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The benchmark's start file lives in a folder of its own, never the user's.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication application(argc, argv);
  velmora::DialogProvider::Instance().EnableTestMode();

  const int steps = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
  velmora::Model scene = velmora::bench::HundredSlotScene(true);
  const std::string document = config.filePath(QStringLiteral("bench.ato")).toStdString();
  velmora::WriteDocumentFile(scene, document);

  double core = 1e300, window = 1e300;
  for (int r = 0; r < repeats; ++r) {
    core = std::min(core, CoreRun(scene, steps));
    window = std::min(window, WindowRun(document, steps));
  }
  std::printf("steps=%d repeats=%d\n", steps, repeats);
  std::printf("core_steps_per_second=%.1f\n", steps / core);
  std::printf("window_steps_per_second=%.1f\n", steps / window);
  std::printf("window_vs_core=%.3f\n", core / window);
  return 0;
}
