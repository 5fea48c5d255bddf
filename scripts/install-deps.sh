#!/usr/bin/env bash
# Installs every build, test and run dependency of Vorlane from Debian packages.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libsqlite3-dev sqlite3
    unixodbc-dev odbcinst libsqliteodbc tdsodbc
    libxlsxwriter-dev libminizip-dev
    libbenchmark-dev
    fonts-noto-cjk
    xvfb xauth
)
# The tests run on PostgreSQL too, on a private server of their own (scripts/postgres-test-server.sh).
packages+=(postgresql-15 odbc-postgresql)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# Only the server's programs are wanted: no cluster of the system's, hence no service left running.
if ! dpkg-query -W -f='${Status}' postgresql-15 2>/dev/null | grep -q 'install ok installed'; then
    $sudo mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = false" \
        | $sudo tee /etc/postgresql-common/createcluster.d/vorlane.conf >/dev/null
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
