#!/usr/bin/env bash
# Sets up, builds and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ ! -x build/app/velmora ]; then
  echo "run.sh: the window was not built (build/app/velmora is missing): the build leaves it out when Qt 6" \
    "is not found or -DVELMORA_BUILD_UI=OFF was given; see the README" >&2
  exit 1
fi
exec build/app/velmora "$@"
