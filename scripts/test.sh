#!/usr/bin/env bash
# Builds Vorlane and runs every test; the output ends with ctest's summary.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
