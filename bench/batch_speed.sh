#!/usr/bin/env bash
# Times velmora-batch against the step benchmark on the benchmark's own 100-slot scene:
#   bash bench/batch_speed.sh [BUILD_DIR] [ROUNDS]
# BUILD_DIR is an optimised build (-DCMAKE_BUILD_TYPE=Release) with velmora_bench,
# velmora-batch and velmora_bench_scene built. Each round measures the step time (10
# repetitions), then the tool with 200 steps and with none (its start-up) by hyperfine, and
# prints, from the means and from the fastest runs,
#   ratio = time(--steps 200) / (200 x step time + time(--steps 0))
# which must stay at or below 1.05. On a shared machine the load swings the means; the fastest
# runs are the ones least disturbed, and only ratios of one round compare.
set -euo pipefail
build=${1:-build-rel}
rounds=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/velmora_bench_scene" "$work/scene.ato"
for round in $(seq "$rounds"); do
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  "$build/velmora_bench" --benchmark_filter='mixed_fast(/|$)' --benchmark_repetitions=10 \
    --benchmark_out="$work/bench.json" --benchmark_out_format=json >/dev/null 2>&1
  hyperfine -N --style none --warmup 1 --runs 10 --export-json "$work/tool.json" \
    "$build/tools/batch/velmora-batch --steps 200 $work/scene.ato" \
    "$build/tools/batch/velmora-batch --steps 0 $work/scene.ato" >/dev/null 2>&1
  python3 - "$work/bench.json" "$work/tool.json" "$round" "$load" <<'PY'
import json, sys
bench = json.load(open(sys.argv[1]))["benchmarks"]
steps = [b for b in bench if b.get("run_type") == "iteration" and b["run_name"].split("/")[1] == "mixed_fast"]
scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[steps[0]["time_unit"]]
step_times = [b["real_time"] * scale for b in steps]
run, start = json.load(open(sys.argv[2]))["results"]
def ratio(step, run, start):
    return run / (200 * step + start)
mean_step = sum(step_times) / len(step_times)
print(f"round {sys.argv[3]} (load {sys.argv[4]})\n"
      f"  mean: step {mean_step * 1e3:.3f} ms, --steps 200 {run['mean']:.3f} s, --steps 0 {start['mean'] * 1e3:.1f} ms,"
      f" ratio {ratio(mean_step, run['mean'], start['mean']):.3f}\n"
      f"  min:  step {min(step_times) * 1e3:.3f} ms, --steps 200 {run['min']:.3f} s, --steps 0 {start['min'] * 1e3:.1f} ms,"
      f" ratio {ratio(min(step_times), run['min'], start['min']):.3f}")
PY
done
