#!/usr/bin/env bash
# Builds the core, every test that needs no window and the fuzz corpus replays with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs them. Any report of
# either sanitizer fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELMORA_BUILD_UI=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_PYTHON=OFF >/dev/null
cmake --build build-asan

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
