// The window's run loop against the core's own stepping, on the 100-slot benchmark scene: the
// same number of steps from the same state, once through Stepper::Step alone and once through a
// click on "Go" in the main window (offscreen), which also reads the switches, projects the
// scene for the canvas (painted once per display frame) and pumps the message queue after
// every step. Each side is timed several times and its best time kept, both by the clock on the
// wall and by the processor time of the whole process (all its threads), which a busy machine
// disturbs less. A third side runs the window with View > Observables open at its defaults, a
// fourth with the chart open and the picture's richest look: spheres, colour by speed and
// trails of 100 steps, a fifth with View > Structure's panel open. The last lines printed are
// window_vs_core=R, the window's steps per second (wall clock) as a share of the core's,
// chart_vs_core=R, the same with the chart open, look_vs_core=R with the chart and that look,
// structure_vs_window=R, the window's steps per second with the Structure panel open as a share
// of those with it closed, then the pictures a second the canvas showed without and with that
// look (at most one a display frame, fewer when drawing would take more than a twentieth of the
// run's time). Last, spheres_png_4x_seconds=T: the best time of a PNG at four times the drawing
// area of the scene's 100 spheres, coloured by speed, as File > Export Picture writes it.
//
//   build/ui/velmora_window_bench [steps] [repeats]
//   QT_QPA_PLATFORM=xcb xvfb-run -a build/ui/velmora_window_bench   (through an X server)

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench/BenchmarkScenes.h"
#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "picture/PictureFile.h"
#include "view/SceneProjection.h"
#include "sim/Stepper.h"
#include "ui/common/DialogProvider.h"
#include "ui/main/MainForm.h"

namespace {

// Wall-clock and processor seconds of one run.
struct Timing {
  double Wall = 1e300;
  double Processor = 1e300;
  double FramesPerSecond = 0.0;  // pictures the canvas showed
};

// Counts the paint events of the widget it watches.
class FrameCounter : public QObject {
 public:
  int Frames = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Frames;
    return false;
  }
};

class Stopwatch {
 public:
  Stopwatch() : wall_(std::chrono::steady_clock::now()), processor_(std::clock()) {}
  Timing Elapsed() const {
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count(),
            static_cast<double>(std::clock() - processor_) / CLOCKS_PER_SEC};
  }

 private:
  std::chrono::steady_clock::time_point wall_;
  std::clock_t processor_;
};

void KeepBest(Timing& best, const Timing& run) {
  best.Wall = std::min(best.Wall, run.Wall);
  best.Processor = std::min(best.Processor, run.Processor);
  best.FramesPerSecond = std::max(best.FramesPerSecond, run.FramesPerSecond);
}

Timing CoreRun(const velmora::Model& scene, int steps) {
  velmora::Model model = scene;
  velmora::Stepper stepper;
  int counter = 0;
  const Stopwatch watch;
  for (int step = 0; step < steps; ++step) stepper.Step(model, {}, counter);
  return watch.Elapsed();
}

// The window loads the scene as its start document, as a user's last document would be.
Timing WindowRun(const std::string& document, int steps, bool chart, bool look = false, bool structure = false) {
  velmora::WriteStartFile(document);
  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm form(model, view);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "window not exposed\n");
  if (chart) form.findChild<QAction*>(QStringLiteral("Observables1"))->trigger();
  if (structure) form.findChild<QAction*>(QStringLiteral("Structure1"))->trigger();
  if (look)
    for (const char* name : {"LookSpheres", "ColourBySpeed", "Trails"})
      form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
  form.SetStopAfterSteps(steps);
  FrameCounter frames;
  form.findChild<QWidget*>(QStringLiteral("Canvas"))->installEventFilter(&frames);
  auto* go = form.findChild<QPushButton*>(QStringLiteral("Go"));
  const Stopwatch watch;
  go->click();
  Timing timing = watch.Elapsed();
  timing.FramesPerSecond = frames.Frames / timing.Wall;
  if (model.StepCount != steps) std::fprintf(stderr, "the window ran %d steps\n", model.StepCount);
  return timing;
}

// File > Export Picture's PNG at four times the window's drawing area, spheres coloured by speed.
double SpherePngSeconds(const velmora::Model& scene) {
  velmora::ViewState view;
  velmora::SetCentre(view, velmora::StartCanvasSize.width(), velmora::StartCanvasSize.height());
  velmora::ProjectParticles(view, scene);
  velmora::SceneLook look;
  look.What = velmora::Redraw::Particles;
  look.Style = velmora::ParticleStyle::Spheres;
  look.Colour = velmora::ColourBy::Speed;
  const Stopwatch watch;
  const QByteArray png =
      velmora::PictureBytes(velmora::PictureFormat::Png, {scene, view, look, velmora::StartCanvasSize}, 4);
  if (png.isEmpty()) std::fprintf(stderr, "no picture\n");
  return watch.Elapsed().Wall;
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

  Timing core, window, chart, look, structure;
  // The two sides take turns, each going first every other time, so that a change in the
  // machine's load does not favour one of them.
  for (int r = 0; r < repeats; ++r) {
    if (r % 2 == 0) KeepBest(core, CoreRun(scene, steps));
    KeepBest(window, WindowRun(document, steps, false));
    KeepBest(chart, WindowRun(document, steps, true));
    KeepBest(look, WindowRun(document, steps, true, true));
    KeepBest(structure, WindowRun(document, steps, false, false, true));
    if (r % 2 == 1) KeepBest(core, CoreRun(scene, steps));
  }
  std::printf("steps=%d repeats=%d\n", steps, repeats);
  std::printf("core_steps_per_processor_second=%.1f\n", steps / core.Processor);
  std::printf("window_steps_per_processor_second=%.1f\n", steps / window.Processor);
  std::printf("window_vs_core_processor=%.3f\n", core.Processor / window.Processor);
  std::printf("core_steps_per_second=%.1f\n", steps / core.Wall);
  std::printf("window_steps_per_second=%.1f\n", steps / window.Wall);
  std::printf("window_vs_core=%.3f\n", core.Wall / window.Wall);
  std::printf("chart_steps_per_processor_second=%.1f\n", steps / chart.Processor);
  std::printf("chart_vs_core_processor=%.3f\n", core.Processor / chart.Processor);
  std::printf("chart_steps_per_second=%.1f\n", steps / chart.Wall);
  std::printf("chart_vs_core=%.3f\n", core.Wall / chart.Wall);
  std::printf("look_steps_per_processor_second=%.1f\n", steps / look.Processor);
  std::printf("look_vs_core_processor=%.3f\n", core.Processor / look.Processor);
  std::printf("look_steps_per_second=%.1f\n", steps / look.Wall);
  std::printf("look_vs_core=%.3f\n", core.Wall / look.Wall);
  std::printf("structure_steps_per_second=%.1f\n", steps / structure.Wall);
  std::printf("structure_vs_window=%.3f\n", window.Wall / structure.Wall);
  std::printf("structure_vs_window_processor=%.3f\n", window.Processor / structure.Processor);
  std::printf("window_frames_per_second=%.1f\n", window.FramesPerSecond);
  std::printf("look_frames_per_second=%.1f\n", look.FramesPerSecond);
  double png = 1e300;
  for (int r = 0; r < repeats; ++r) png = std::min(png, SpherePngSeconds(scene));
  std::printf("spheres_png_4x_seconds=%.3f\n", png);
  return 0;
}
