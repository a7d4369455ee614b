#!/usr/bin/env bash
# Checks the fast pair law's skipping of negligible shell terms: builds velmora_verify_skips and
# runs it on SCENES random scenes (default 1000), each skipped term re-evaluated literally and
# every acceleration compared with the literal law's. Takes minutes; not part of the tests.
#   bash scripts/verify-skips.sh [SCENES] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || bash scripts/build.sh
cmake --build build --target velmora_verify_skips
build/velmora_verify_skips "${1:-1000}" "${2:-19}"
