#!/usr/bin/env bash
# Builds Vorlane and runs the database, service and window tests on PostgreSQL only, on a private
# server (scripts/postgres-test-server.sh) started for the run and stopped afterwards. Extra
# arguments go to ctest (e.g. -R tst_services). Fails with a clear message when the server cannot
# start.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
cd "$build"
exec "$top/scripts/postgres-test-server.sh" run \
    ctest --output-on-failure -j "$(nproc)" -L postgres "$@"
