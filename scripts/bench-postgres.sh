#!/usr/bin/env bash
# Builds the benchmarks and runs them on PostgreSQL: a private server (scripts/postgres-test-server.sh)
# is started for the run and stopped afterwards. Each benchmark makes its own databases on it and
# prints its ratios, in real time, headed by "engine: PostgreSQL". Names of benchmarks as arguments
# pick some (default: every build/bench/bench_*); arguments after "--" go to each of them, e.g.
#
#   scripts/bench-postgres.sh bench_itemload -- --benchmark_repetitions=3
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLANE_BUILD_DIR:-$top/build}"

benches=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    benches+=("$1")
    shift
done
[ "${1:-}" = "--" ] && shift

"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANE_BENCHMARKS=ON >/dev/null
# Read the whole list: grep -q would stop the writer early and fail the pipe.
if ! cmake --build "$build" --target help | grep '^vorlane_bench:' >/dev/null; then
    echo "bench-postgres: no benchmarks to build: Google Benchmark (libbenchmark-dev) was not found" >&2
    exit 1
fi
cmake --build "$build" -j "$(nproc)" --target vorlane_bench

if [ ${#benches[@]} -eq 0 ]; then
    for b in "$build"/bench/bench_*; do
        [ -x "$b" ] && [ -f "$b" ] && benches+=("$(basename "$b")")
    done
fi
for b in "${benches[@]}"; do
    [ -x "$build/bench/$b" ] || { echo "bench-postgres: no benchmark $b in $build/bench" >&2; exit 1; }
done

# One server for all of them; a benchmark that fails does not stop the others.
exec "$top/scripts/postgres-test-server.sh" run bash -c '
    dir=$1
    shift
    count=$1
    shift
    names=("${@:1:$count}")
    shift "$count"
    status=0
    for b in "${names[@]}"; do
        echo "== $b"
        "$dir/$b" "$@" || status=1
    done
    exit "$status"' bench-postgres "$build/bench" "${#benches[@]}" "${benches[@]}" "$@"
