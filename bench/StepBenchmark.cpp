// One full step of the 100-slot scenes with the literal pair law and with the fast evaluation,
// in one run. The last line printed is speedup_vs_literal=R for the scene with mixed groups.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/BenchmarkScenes.h"
#include "sim/Stepper.h"

namespace {

using velmora::Evaluation;

void BM_Step(benchmark::State& state, bool mixedGroups, Evaluation evaluation) {
  const velmora::Model scene = velmora::bench::HundredSlotScene(mixedGroups);
  velmora::Stepper stepper(evaluation);
  for (auto _ : state) {
    velmora::Model model = scene;  // every iteration steps the same state
    int counter = 0;
    stepper.Step(model, {}, counter);
    benchmark::DoNotOptimize(model.X[1]);
  }
}

BENCHMARK_CAPTURE(BM_Step, mixed_literal, true, Evaluation::Literal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Step, mixed_fast, true, Evaluation::Fast)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Step, equal_literal, false, Evaluation::Literal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Step, equal_fast, false, Evaluation::Fast)->Unit(benchmark::kMillisecond);

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
  std::printf("speedup_vs_literal_equal_groups=%.2f\n", ratio("BM_Step/equal_literal", "BM_Step/equal_fast"));
  std::printf("speedup_vs_literal=%.2f\n", ratio("BM_Step/mixed_literal", "BM_Step/mixed_fast"));
  return 0;
}
