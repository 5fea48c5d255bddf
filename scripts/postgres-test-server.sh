#!/usr/bin/env bash
# A private PostgreSQL 15 server for tests: a temporary data directory, loopback only, no system
# service. initdb refuses to run as root, so under root the server runs as an unprivileged user.
#
#   postgres-test-server.sh run COMMAND [ARGS...]
#       starts a server, runs COMMAND with VORLANE_TEST_PG set to its ODBC connection string,
#       stops the server and removes its directory; exits with COMMAND's status.
#   postgres-test-server.sh start
#       starts a server in the background and prints two lines for eval, VORLANE_TEST_PG=<connection
#       string> and VORLANE_TEST_PG_DIR=<directory>; the server stops when the calling process exits, or
#   postgres-test-server.sh stop DIRECTORY
set -euo pipefail

PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
PG_USER=vorlane

die() {
    echo "postgres-test-server: $*" >&2
    exit 1
}

[ -x "$PG_BIN/postgres" ] || die "PostgreSQL 15 is not installed ($PG_BIN/postgres missing); run scripts/install-deps.sh"
odbcinst -q -d 2>/dev/null | grep -qx '\[PostgreSQL Unicode\]' \
    || die "the ODBC driver \"PostgreSQL Unicode\" is not registered; install odbc-postgresql"

# Runs a command as the server's owner.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$OWNER" -- "$@"
    else
        "$@"
    fi
}

free_port() {
    local port
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 20000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
    die "no free loopback port found"
}

stop_server() {
    local dir=$1
    [ -d "$dir" ] || return 0
    if [ -f "$dir/data/postmaster.pid" ]; then
        OWNER=$(stat -c %U "$dir/data")
        as_owner "$PG_BIN/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
}

start_server() {
    DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlane-pg.XXXXXX")
    OWNER=$(id -un)
    if [ "$(id -u)" -eq 0 ]; then
        OWNER=nobody
        chown "$OWNER" "$DIR"
    fi
    PORT=$(free_port)
    if ! as_owner "$PG_BIN/initdb" -D "$DIR/data" -U "$PG_USER" --auth=trust -E UTF8 \
        --locale=C.UTF-8 >"$DIR/initdb.log" 2>&1; then
        cat "$DIR/initdb.log" >&2
        rm -rf "$DIR"
        die "initdb failed"
    fi
    if ! as_owner "$PG_BIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" -w -t 60 \
        -o "-c listen_addresses=127.0.0.1 -c port=$PORT -c unix_socket_directories=$DIR -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null; then
        cat "$DIR/server.log" >&2 || true
        stop_server "$DIR"
        die "the server did not start"
    fi
    CONN="odbc:Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=$PORT;Database=postgres;Uid=$PG_USER;Pwd="
}

case "${1:-}" in
run)
    shift
    [ $# -gt 0 ] || die "run needs a command"
    start_server
    trap 'stop_server "$DIR"' EXIT
    trap 'exit 130' INT TERM
    status=0
    VORLANE_TEST_PG=$CONN "$@" || status=$?
    exit "$status"
    ;;
start)
    parent=$PPID
    start_server
    # The watcher stops the server once the caller is gone.
    (
        trap '' HUP
        while kill -0 "$parent" 2>/dev/null && [ -d "$DIR/data" ]; do
            sleep 1
        done
        stop_server "$DIR"
    ) </dev/null >/dev/null 2>&1 &
    printf 'VORLANE_TEST_PG=%q\n' "$CONN"
    printf 'VORLANE_TEST_PG_DIR=%q\n' "$DIR"
    ;;
stop)
    [ -n "${2:-}" ] || die "stop needs the directory printed by start"
    case "$2" in
    "${TMPDIR:-/tmp}"/vorlane-pg.*) stop_server "$2" ;;
    *) die "$2 is not a directory made by this script" ;;
    esac
    ;;
*)
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
