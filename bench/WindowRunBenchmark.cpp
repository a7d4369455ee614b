// The window's run loop against the core's own stepping, on the 100-slot benchmark scene: the
// same number of steps from the same state, once through Stepper::Step alone and once through a
// click on "Go" in the main window (offscreen), which also reads the switches, projects the
// scene for the canvas (painted once per display frame) and pumps the message queue after
// every step. Each side is timed several times and its best time kept, both by the clock on the
// wall and by the processor time of the whole process (all its threads), which a busy machine
// disturbs less. A third side runs the window with View > Observables open at its defaults, a
// fourth with the chart open and the picture's richest look: spheres, colour by speed and
// trails of 100 steps, a fifth with View > Structure's panel open; the plain window runs once
// more with the ring of kept steps switched off (it is on in the window, keeping the last 10,000
// steps). The last lines printed are window_vs_core=R, the window's steps per second (wall clock)
// as a share of the core's, chart_vs_core=R, the same with the chart open, look_vs_core=R with the
// chart and that look, structure_vs_window=R, the window's steps per second with the Structure
// panel open as a share of those with it closed, then the pictures a second the canvas showed
// without and with that look (at most one a display frame, fewer when drawing would take more
// than a twentieth of the run's time), then record_vs_off=R, the window's steps per processor
// second with the ring recording as a share of those without it (record_vs_off_wall=R by the wall
// clock). Then spheres_png_4x_seconds=T: the best time of a PNG at four times the drawing area of
// the scene's 100 spheres, coloured by speed, as File > Export Picture writes it. And
// kept_step_milliseconds_mean=T and _max=T: the time View > History takes to show a kept step of
// the run with the chart open and the richest look (the scene put back, the picture drawn, the
// listing and the status bar filled), over kept steps in a shuffled order. Last,
// trajectory_open_seconds=T, the time File > Open Trajectory... takes for a file of the benchmark
// scene as velmora-batch --xyz writes it, with `frames` frames (20,000 unless the third argument
// says otherwise; 100000 is the case a user's long run makes), and
// trajectory_frame_milliseconds_mean and _max, showing 500 of its frames in a random order.
//
//   build/ui/velmora_window_bench [steps] [repeats] [frames]
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
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchmarkScenes.h"
#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "documents/XyzTrajectory.h"
#include "picture/PictureFile.h"
#include "sim/Stepper.h"
#include "ui/common/DialogProvider.h"
#include "ui/history/HistoryBar.h"
#include "ui/main/MainForm.h"
#include "view/SceneProjection.h"

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

struct ShowTimes {
  double MeanMilliseconds = 0.0;
  double MaxMilliseconds = 0.0;
};

// Runs the window with the chart and the richest look, then shows every kept step once.
ShowTimes KeptStepTimes(velmora::TMainForm& form) {
  velmora::HistoryBar& bar = *form.History();
  std::vector<int> order(static_cast<std::size_t>(form.Run().Ring().Size()));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  ShowTimes times;
  for (const int k : order) {
    const auto start = std::chrono::steady_clock::now();
    bar.Show(k);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    times.MeanMilliseconds += ms / static_cast<double>(order.size());
    times.MaxMilliseconds = std::max(times.MaxMilliseconds, ms);
  }
  return times;
}

// The main window started with the document as its start file, shown and exposed.
struct StartedWindow {
  explicit StartedWindow(const std::string& document)
      : form((velmora::WriteStartFile(document), model), view) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "window not exposed\n");
  }
  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm form;
};

// A trajectory of `frames` frames of the scene, opened in the window and shown frame by frame.
void TrajectoryTimes(const std::string& document, const velmora::Model& scene, int frames,
                     const QString& name) {
  {
    std::ofstream file(name.toStdString(), std::ios::binary);
    std::string frame;
    for (int k = 0; k < frames; ++k) {
      frame.clear();
      velmora::AppendXyzFrame(frame, scene, k);
      file << frame;
    }
  }
  StartedWindow window(document);
  velmora::TMainForm& form = window.form;
  velmora::DialogProvider::Instance().SetNextFileName(name);
  const Stopwatch open;
  form.findChild<QAction*>(QStringLiteral("OpenTrajectory1"))->trigger();
  std::printf("trajectory_open_seconds=%.3f\n", open.Elapsed().Wall);
  if (form.History()->Count() != frames) std::fprintf(stderr, "%d frames opened\n", form.History()->Count());
  std::mt19937 random(11);
  std::uniform_int_distribution<int> any(0, frames - 1);
  ShowTimes times;
  constexpr int Shown = 500;
  for (int n = 0; n < Shown; ++n) {
    const int k = any(random);
    const auto start = std::chrono::steady_clock::now();
    form.History()->Show(k);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    times.MeanMilliseconds += ms / Shown;
    times.MaxMilliseconds = std::max(times.MaxMilliseconds, ms);
  }
  std::printf("trajectory_frame_milliseconds_mean=%.2f\n", times.MeanMilliseconds);
  std::printf("trajectory_frame_milliseconds_max=%.2f\n", times.MaxMilliseconds);
  QFile::remove(name);
}

// The window loads the scene as its start document, as a user's last document would be.
Timing WindowRun(const std::string& document, int steps, bool chart, bool look = false,
                 bool structure = false, bool recording = true, ShowTimes* shown = nullptr) {
  StartedWindow window(document);
  velmora::TMainForm& form = window.form;
  if (chart) form.findChild<QAction*>(QStringLiteral("Observables1"))->trigger();
  if (structure) form.findChild<QAction*>(QStringLiteral("Structure1"))->trigger();
  if (look)
    for (const char* name : {"LookSpheres", "ColourBySpeed", "Trails"})
      form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
  form.SetStopAfterSteps(steps);
  form.Run().SetRecording(recording);
  FrameCounter frames;
  form.findChild<QWidget*>(QStringLiteral("Canvas"))->installEventFilter(&frames);
  auto* go = form.findChild<QPushButton*>(QStringLiteral("Go"));
  const Stopwatch watch;
  go->click();
  Timing timing = watch.Elapsed();
  timing.FramesPerSecond = frames.Frames / timing.Wall;
  if (window.model.StepCount != steps)
    std::fprintf(stderr, "the window ran %d steps\n", window.model.StepCount);
  if (shown) {
    auto* history = form.findChild<QAction*>(QStringLiteral("History1"));
    if (!history->isChecked()) history->trigger();
    *shown = KeptStepTimes(form);
  }
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
  const int frames = argc > 3 ? std::atoi(argv[3]) : 20000;
  velmora::Model scene = velmora::bench::HundredSlotScene(true);
  const std::string document = config.filePath(QStringLiteral("bench.ato")).toStdString();
  velmora::WriteDocumentFile(scene, document);

  Timing core, window, chart, look, structure, unrecorded;
  // The two sides take turns, each going first every other time, so that a change in the
  // machine's load does not favour one of them.
  for (int r = 0; r < repeats; ++r) {
    if (r % 2 == 0) KeepBest(core, CoreRun(scene, steps));
    if (r % 2 == 0) KeepBest(unrecorded, WindowRun(document, steps, false, false, false, false));
    KeepBest(window, WindowRun(document, steps, false));
    if (r % 2 == 1) KeepBest(unrecorded, WindowRun(document, steps, false, false, false, false));
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
  std::printf("record_vs_off=%.3f\n", unrecorded.Processor / window.Processor);
  std::printf("record_vs_off_wall=%.3f\n", unrecorded.Wall / window.Wall);
  double png = 1e300;
  for (int r = 0; r < repeats; ++r) png = std::min(png, SpherePngSeconds(scene));
  std::printf("spheres_png_4x_seconds=%.3f\n", png);
  ShowTimes shown;
  WindowRun(document, std::min(steps, 500), true, true, false, true, &shown);
  std::printf("kept_step_milliseconds_mean=%.2f\n", shown.MeanMilliseconds);
  std::printf("kept_step_milliseconds_max=%.2f\n", shown.MaxMilliseconds);
  TrajectoryTimes(document, scene, frames, config.filePath(QStringLiteral("bench.xyz")));
  return 0;
}
