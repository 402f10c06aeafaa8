#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing), then configures and
# builds Zelvora into ./build. Runs as root on a fresh Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n
          libsqlite3-dev sqlite3 fonts-liberation fonts-dejavu-core libxcb1-dev xvfb poppler-utils
          dpkg-dev file libpq-dev libqt6sql6-psql postgresql-15 postgresql-common
          mdbtools-dev qt6-charts-dev libqt6opengl6-dev
          libqpdf-dev qpdf libxml2-utils libfontconfig-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type"
cmake --build build -j2
