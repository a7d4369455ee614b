#!/usr/bin/env bash
# Compares the program's correctly rounded Exp, Log, Sin, Cos and Atan2 with MPFR on COUNT
# arguments per function (default ten million; random bit patterns, the ranges the program uses
# and the edge regions) and reports the results that differ in any bit and the wrong fault flags.
# Takes hours on one core; the test suite runs a sample of 200,000 per function. FAMILY (0 to 5,
# in the order printed) checks one family of arguments only, on COUNT/6 of them.
#   bash scripts/check-math.sh [COUNT] [SEED] [FUNCTION] [FAMILY]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || bash scripts/build.sh
cmake --build build --target velmora_check_math
build/velmora_check_math "${1:-10000000}" "${2:-33}" ${3:+"$3"} ${4:+"$4"}
