#!/usr/bin/env bash
# Sets up, builds and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -x build/app/velmora ]; then
  exec build/app/velmora "$@"
else
  exec build/velmora_bench
fi
