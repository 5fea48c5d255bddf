#!/usr/bin/env bash
# Builds Vorlane and starts it on the embedded demo account database (created on first run).
# Extra arguments go to the vorlane application (see: scripts/run.sh --help).
# Without a display it runs on a virtual one and saves a screenshot of its window instead.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
bin="$build/app/vorlane"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    shots="${XDG_DATA_HOME:-$HOME/.local/share}/vorlane/screenshots"
    echo "No display: running on a virtual one; the window is saved as a picture in $shots"
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin" --install-path "$top" --screenshot "$shots" "$@"
fi
exec "$bin" --install-path "$top" "$@"
