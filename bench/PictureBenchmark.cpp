// One paint of the 100-slot benchmark scene into the window's drawing area, for each look a user
// can choose: what a run pays at every display frame. Trails are the last 100 steps of a run.
//
//   build/picture/velmora_picture_bench [--benchmark_filter=Trails]

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "bench/BenchmarkScenes.h"
#include "picture/PictureFile.h"
#include "sim/Stepper.h"
#include "view/SceneProjection.h"

namespace {

struct RunScene {
  velmora::Model model = velmora::bench::HundredSlotScene(true);
  velmora::ViewState view;
  velmora::TrailRecord trails{velmora::DefaultTrailSteps};

  RunScene() {
    velmora::Stepper stepper;
    int counter = 0;
    for (int step = 0; step < velmora::DefaultTrailSteps; ++step) {
      stepper.Step(model, {}, counter);
      trails.Add(model);
    }
    velmora::SetCentre(view, velmora::StartCanvasSize.width(), velmora::StartCanvasSize.height());
    velmora::ProjectParticles(view, model);
  }
};

const RunScene& Scene() {
  static const RunScene scene;
  return scene;
}

void Paint(benchmark::State& state, velmora::ParticleStyle style, velmora::ColourBy colour, bool trails) {
  const RunScene& scene = Scene();
  velmora::SceneLook look;
  look.What = velmora::Redraw::Particles;
  look.Style = style;
  look.Colour = colour;
  QImage image(velmora::StartCanvasSize, QImage::Format_RGB32);
  for (auto _ : state)
    velmora::RenderInto(
        image, {scene.model, scene.view, look, velmora::StartCanvasSize, trails ? &scene.trails : nullptr});
}

using velmora::ColourBy;
using velmora::ParticleStyle;
BENCHMARK_CAPTURE(Paint, Dots, ParticleStyle::Dots, ColourBy::Group, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Paint, Spheres, ParticleStyle::Spheres, ColourBy::Group, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Paint, SpheresBySpeed, ParticleStyle::Spheres, ColourBy::Speed, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Paint, Trails, ParticleStyle::Dots, ColourBy::Group, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Paint, SpheresBySpeedTrails, ParticleStyle::Spheres, ColourBy::Speed, true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
