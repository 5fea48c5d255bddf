#!/usr/bin/env bash
# Builds Vorlane and runs every test on both engines: first on SQLite, then the database, service
# and window tests once more on PostgreSQL, on a private server started for the run
# (scripts/postgres-test-server.sh) and stopped afterwards. Fails when either run fails or when
# the server cannot start. Extra arguments go to both ctest runs (e.g. -R tst_services).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
cd "$build"
jobs="$(nproc)"

echo "== Tests on SQLite"
sqlite=0
ctest --output-on-failure -j "$jobs" -L sqlite "$@" || sqlite=$?

echo "== Tests on PostgreSQL (names end in _postgres)"
postgres=0
"$top/scripts/postgres-test-server.sh" run \
    ctest --output-on-failure -j "$jobs" -L postgres "$@" || postgres=$?

if [ "$sqlite" -ne 0 ] || [ "$postgres" -ne 0 ]; then
    echo "Tests failed: SQLite exit status $sqlite, PostgreSQL exit status $postgres" >&2
    exit 1
fi
