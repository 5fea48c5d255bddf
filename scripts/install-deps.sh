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
# The PostgreSQL server and its ODBC driver only for scripts/test-postgres.sh.
if [ "${1:-}" = "--postgres" ]; then
    packages+=(postgresql-15 odbc-postgresql)
fi

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
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
