#!/usr/bin/env bash
# Checks that every C++ file in the repository follows .clang-format; with --fix, formats them.
# Run as: bash scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "clang-format is missing: bash scripts/setup.sh installs it" >&2
  exit 2
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
