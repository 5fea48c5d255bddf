#!/usr/bin/env bash
# Builds Vorlane and starts it on the embedded demo account database (created on first run).
# Extra arguments go to the vorlane application (see: vorlane --help).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
exec "$build/app/vorlane" --install-path "$top" "$@"
