// One full step of the 100-slot scenes with the literal pair law and with the fast evaluation
// (on every core, and on one thread), in one run; and what keeping a step's state in the run's
// ring costs (ring_vs_step=R, as a share of a fast step on every core). The last line printed
// is speedup_vs_literal=R for the scene with mixed groups on every core; the line before it gives
// the one-thread figure.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/BenchmarkScenes.h"
#include "history/RunRing.h"
#include "sim/Stepper.h"

namespace {

using velmora::Evaluation;

void BM_Step(benchmark::State& state, bool mixedGroups, Evaluation evaluation, int threads) {
  const velmora::Model scene = velmora::bench::HundredSlotScene(mixedGroups);
  velmora::Stepper stepper(evaluation, threads);
  for (auto _ : state) {
    velmora::Model model = scene;  // every iteration steps the same state
    int counter = 0;
    stepper.Step(model, {}, counter);
    benchmark::DoNotOptimize(model.X[1]);
  }
}

const int AllCores = velmora::DefaultThreadCount();

BENCHMARK_CAPTURE(BM_Step, mixed_literal, true, Evaluation::Literal, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Step, mixed_fast_1thread, true, Evaluation::Fast, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Step, mixed_fast, true, Evaluation::Fast, AllCores)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Step, equal_literal, false, Evaluation::Literal, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Step, equal_fast, false, Evaluation::Fast, AllCores)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Keeping the state after a step in a run's ring of 10,000, full and reused as a long run finds it.
void BM_KeepInRing(benchmark::State& state) {
  const velmora::Model scene = velmora::bench::HundredSlotScene(true);
  velmora::RunRing ring;
  for (int k = 0; k < ring.Capacity(); ++k) ring.Keep(scene, {});
  for (auto _ : state) ring.Keep(scene, {});
}
BENCHMARK(BM_KeepInRing)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table and keeps each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ratio = [&](const char* literal, const char* fast) {
    return reporter.times.count(literal) && reporter.times.count(fast)
               ? reporter.times[literal] / reporter.times[fast]
               : 0.0;
  };
  std::printf("threads=%d\n", AllCores);
  std::printf("ring_vs_step=%.4f\n", ratio("BM_KeepInRing/real_time", "BM_Step/mixed_fast/real_time"));
  std::printf("speedup_vs_literal_equal_groups=%.2f\n",
              ratio("BM_Step/equal_literal/real_time", "BM_Step/equal_fast/real_time"));
  std::printf("speedup_vs_literal_one_thread=%.2f\n",
              ratio("BM_Step/mixed_literal/real_time", "BM_Step/mixed_fast_1thread/real_time"));
  std::printf("speedup_vs_literal=%.2f\n",
              ratio("BM_Step/mixed_literal/real_time", "BM_Step/mixed_fast/real_time"));
  return 0;
}
