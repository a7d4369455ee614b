// The program's correctly rounded Exp and Log against the C library's expl and logl, in ns per
// call over the arguments the pair law gives them: exponents E ln x in [-60, 10] and x = k r in
// [0.3, 3]; Sin and Cos against sinl and cosl over the view's angles [-7, 7]; Atan2 against
// atan2l over measurement vectors with coordinates in [-30, 30]. Every call takes a different
// argument, as in a step.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "math/Transcendental.h"

namespace {

std::vector<long double> Arguments(long double low, long double high) {
  std::mt19937_64 rng(42);
  std::vector<long double> values(4096);
  for (long double& v : values) v = low + (high - low) * (static_cast<long double>(rng()) * 0x1p-64L);
  return values;
}

void BM_Function(benchmark::State& state, long double (*F)(long double), long double low, long double high) {
  const std::vector<long double> arguments = Arguments(low, high);
  for (auto _ : state)
    for (long double x : arguments) benchmark::DoNotOptimize(F(x));
  state.SetItemsProcessed(state.iterations() * static_cast<long>(arguments.size()));
}

long double LibraryExp(long double x) { return std::exp(x); }
long double LibraryLog(long double x) { return std::log(x); }
void BM_Atan2(benchmark::State& state, long double (*F)(long double, long double)) {
  const std::vector<long double> ys = Arguments(-30.0L, 30.0L);
  std::vector<long double> xs(ys.rbegin(), ys.rend());
  for (auto _ : state)
    for (std::size_t i = 0; i < ys.size(); ++i) benchmark::DoNotOptimize(F(ys[i], xs[i]));
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ys.size()));
}

long double LibraryAtan2(long double y, long double x) { return std::atan2(y, x); }
long double LibrarySin(long double x) { return std::sin(x); }
long double LibraryCos(long double x) { return std::cos(x); }

}  // namespace

BENCHMARK_CAPTURE(BM_Function, Exp, velmora::Exp, -60.0L, 10.0L);
BENCHMARK_CAPTURE(BM_Function, expl, LibraryExp, -60.0L, 10.0L);
BENCHMARK_CAPTURE(BM_Function, Log, velmora::Log, 0.3L, 3.0L);
BENCHMARK_CAPTURE(BM_Function, logl, LibraryLog, 0.3L, 3.0L);
BENCHMARK_CAPTURE(BM_Function, Sin, velmora::Sin, -7.0L, 7.0L);
BENCHMARK_CAPTURE(BM_Function, sinl, LibrarySin, -7.0L, 7.0L);
BENCHMARK_CAPTURE(BM_Function, Cos, velmora::Cos, -7.0L, 7.0L);
BENCHMARK_CAPTURE(BM_Function, cosl, LibraryCos, -7.0L, 7.0L);
BENCHMARK_CAPTURE(BM_Atan2, Atan2, velmora::Atan2);
BENCHMARK_CAPTURE(BM_Atan2, atan2l, LibraryAtan2);

BENCHMARK_MAIN();
