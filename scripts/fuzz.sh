#!/usr/bin/env bash
# Fuzzes the readers of outside input with libFuzzer. Builds the fuzz programs with clang, with
# AddressSanitizer, UndefinedBehaviorSanitizer and coverage over the whole core, into
# build-fuzz/, then runs each target from its stored corpus for the given time, one after the
# other. New inputs collect in build-fuzz/found/<target>/, crashes in build-fuzz/findings/.
#
#   scripts/fuzz.sh [seconds per target, default 600] [target ...]
#   scripts/fuzz.sh --merge [target ...]   adds to fuzz/corpus/<target>/ the found inputs that
#                                          reach code the stored ones do not (edges only, not
#                                          hit counts, so that the corpus stays small)
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(document number_text comment_file)
merge=0
seconds=600
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELMORA_BUILD_UI=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_LIBFUZZER=ON >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/velmora_fuzz_}"

max_len() {
  case $1 in
    document) echo 6400 ;;   # the record and the switch byte after it
    number_text) echo 1024 ;;
    comment_file) echo 8192 ;;
  esac
}

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${targets[@]}"; do
  program=build-fuzz/fuzz/velmora_fuzz_$target
  stored=fuzz/corpus/$target
  found=build-fuzz/found/$target
  mkdir -p "$found" build-fuzz/findings
  if [ $merge -eq 1 ]; then
    "$program" -merge=1 -use_counters=0 -max_len="$(max_len "$target")" "$stored" "$found"
    echo "$target: $(ls "$stored" | wc -l) inputs in $stored"
  else
    "$program" -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=20 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$target"- \
      "$found" "$stored"
  fi
done
