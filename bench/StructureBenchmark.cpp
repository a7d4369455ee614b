// The whole structure analysis (histogram, cutoff, neighbours, clusters, shapes, common
// neighbours, point groups) of a 100-point cloud, which must take under 5 ms: the step
// benchmark's random cloud, and the 100 lattice points of a face-centred cubic crystal nearest
// to a point near the origin, whose near-cubic symmetry makes the point group search try every
// candidate axis and plane.

#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/BenchmarkScenes.h"
#include "structure/StructureAnalysis.h"

namespace {

using namespace velmora;

Points CrystalChunk() {
  Points lattice;
  for (int x = -4; x <= 4; ++x)
    for (int y = -4; y <= 4; ++y)
      for (int z = -4; z <= 4; ++z)
        if (((x + y + z) & 1) == 0)
          lattice.push_back({static_cast<real>(x), static_cast<real>(y), static_cast<real>(z)});
  const Point3 near{0.01L, 0.02L, 0.03L};
  std::sort(lattice.begin(), lattice.end(),
            [&](const Point3& a, const Point3& b) { return Distance(a, near) < Distance(b, near); });
  lattice.resize(100);
  return lattice;
}

void BM_Structure(benchmark::State& state, const Points& points) {
  for (auto _ : state) benchmark::DoNotOptimize(AnalyseStructure(points, {}).group.symbol);
}

const Points RandomCloud = PresentPoints(bench::HundredSlotScene(false));
const Points Crystal = CrystalChunk();

BENCHMARK_CAPTURE(BM_Structure, random_cloud_100, RandomCloud)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Structure, fcc_chunk_100, Crystal)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
