#!/usr/bin/env bash
# Sets up, builds and runs every test of Velmora, then every test but the Python module's and the
# fuzz corpus replays once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
bash scripts/sanitize.sh
