#!/usr/bin/env bash
# The step of this tree against the step of another commit (default: main's last commit that is
# not part of this branch), side by side on this machine: builds that commit's velmora_bench in
# a scratch work tree, then runs the two benchmarks alternately ROUNDS times (default 5) and prints
# the processor time per step of each (median over the rounds), their ratio, and the literal/fast
# ratio of each; then Exp and Log against expl and logl (build/velmora_math_bench).
#   bash scripts/compare-step.sh [ROUNDS] [COMMIT]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-5}"
base="$(git rev-parse "${2:-$(git merge-base HEAD main)}")"
[ -f build/build.ninja ] || bash scripts/build.sh
cmake --build build --target velmora_bench velmora_math_bench
scratch="${TMPDIR:-/tmp}/velmora-compare-${base:0:12}"
if [ ! -d "$scratch" ]; then
  git worktree add --detach "$scratch" "$base"
fi
cmake -S "$scratch" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BUILD_UI=OFF \
  -DVELMORA_BUILD_PYTHON=OFF >/dev/null
cmake --build "$scratch/build" --target velmora_bench

run() {  # run BENCH OUT: the single-thread steps' processor times as JSON
  "$1" --benchmark_filter='mixed_literal|mixed_fast_1thread' --benchmark_min_time=2 \
    --benchmark_out="$2" --benchmark_out_format=json >/dev/null
}
results="$(mktemp -d)"
for i in $(seq "$rounds"); do
  run "$scratch/build/velmora_bench" "$results/before-$i.json"
  run build/velmora_bench "$results/after-$i.json"
done
python3 - "$results" "$rounds" "${base:0:12}" <<'PY'
import json, statistics, sys
folder, rounds, base = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def times(which):
    per = {"literal": [], "fast": []}
    for i in range(1, rounds + 1):
        for b in json.load(open(f"{folder}/{which}-{i}.json"))["benchmarks"]:
            key = "literal" if "literal" in b["name"] else "fast"
            per[key].append(b["cpu_time"])
    return {k: statistics.median(v) for k, v in per.items()}
before, after = times("before"), times("after")
for name, t in ((f"{base} (before)", before), ("this tree", after)):
    print(f"{name:24} fast step {t['fast']:.3f} ms  literal step {t['literal']:.1f} ms  literal/fast {t['literal'] / t['fast']:.1f}")
print(f"step time, this tree / before: {after['fast'] / before['fast']:.3f} (processor time, median of {rounds} alternating rounds)")
PY
build/velmora_math_bench --benchmark_min_time=1
