#!/usr/bin/env bash
# Builds Vorlane and runs the database, service and model tests on PostgreSQL: a private server
# (scripts/postgres-test-server.sh) is started for the run and stopped afterwards. Extra
# arguments go to ctest (e.g. -R tst_postgres). Fails with a clear message when the server
# cannot start.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh" --postgres
"$top/scripts/build.sh"
build="${VORLANE_BUILD_DIR:-$top/build}"
cd "$build"
tests="${VORLANE_PG_TESTS:-_postgres$}"
exec "$top/scripts/postgres-test-server.sh" run \
    ctest --output-on-failure -j 2 -L postgres -R "$tests" "$@"
