#!/usr/bin/env bash
# Builds the core, the window, the tools, every test and the fuzz corpus replays with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs them, the window's
# tests on the offscreen platform as in the normal run. Any report of either sanitizer fails the
# test that caused it. Not built here: the benchmarks, and the Python module (an instrumented
# module would need an instrumented interpreter). Not run here: the install checks, which test
# where files go, not what the code does.
set -euo pipefail
cd "$(dirname "$0")/.."

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELMORA_BUILD_UI=ON -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_PYTHON=OFF >/dev/null
cmake --build build-asan

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside the system's libraries (fontconfig's caches, the offscreen platform's), which the
# program cannot free, are not the program's.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
# The tests through a real X server (label xserver) are left out: the system's keyboard library
# (libxkbcommon-x11) reads past a string the X connection hands it, which the sanitizer reports
# before the program's first line.
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -E '^ui\.install' -LE xserver
