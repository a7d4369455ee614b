// Opening a long trajectory for playing: 100,000 frames of the 100-slot benchmark scene as
// velmora-batch --xyz writes them (positions and velocities, about 1.5 GB), indexed once, then
// frames read on demand in a random order and put into the slots as the history bar shows them.
// Prints open_seconds=T (the index, with the file in the system's cache as a file just written
// is), then frame_milliseconds_mean=T and frame_milliseconds_max=T over the frames read.
//
//   build/velmora_trajectory_bench [frames] [reads]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "bench/BenchmarkScenes.h"
#include "documents/XyzFrameIndex.h"
#include "documents/XyzTrajectory.h"
#include "model/AtomPlacement.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void WriteTrajectory(const std::string& name, int frames) {
  velmora::Model m = velmora::bench::HundredSlotScene(true);
  std::ofstream file(name, std::ios::binary);
  std::string text;
  for (int step = 0; step < frames; ++step) {
    m.X[1 + step % velmora::SlotCount] += 0.001L;  // each frame a little different
    text.clear();
    velmora::AppendXyzFrame(text, m, step);
    file << text;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int reads = argc > 2 ? std::atoi(argv[2]) : 2000;
  const char* base = std::getenv("TMPDIR");
  const std::string name = std::string(base && *base ? base : "/tmp") + "/velmora-trajectory-bench.xyz";
  WriteTrajectory(name, frames);

  const auto opening = std::chrono::steady_clock::now();
  const velmora::XyzFrameIndex index(name);
  const double openSeconds = SecondsSince(opening);
  if (index.Frames() != frames || !index.Damage().empty()) {
    std::fprintf(stderr, "indexed %d frames of %d: %s\n", index.Frames(), frames, index.Damage().c_str());
    return 1;
  }

  std::mt19937 rng(34);
  std::uniform_int_distribution<int> anyFrame(0, frames - 1);
  velmora::Model model = velmora::bench::HundredSlotScene(true);
  double total = 0.0, worst = 0.0;
  for (int r = 0; r < reads; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const velmora::XyzFrame frame = index.Frame(anyFrame(rng));
    velmora::PlaceAtoms(model, frame.atoms, frame.withSlots);
    const double seconds = SecondsSince(start);
    total += seconds;
    worst = std::max(worst, seconds);
  }
  std::remove(name.c_str());
  std::printf("frames=%d\nopen_seconds=%.3f\nframe_milliseconds_mean=%.3f\nframe_milliseconds_max=%.3f\n",
              frames, openSeconds, 1e3 * total / reads, 1e3 * worst);
  return 0;
}
