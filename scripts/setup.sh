#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds into build/. Source it; it expects ROOT to be set.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ ccache
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n libgl-dev
    libxlsxwriter-dev libzip-dev fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
    postgresql sqlite3 poppler-utils
    libreoffice-writer-nogui libreoffice-calc-nogui chromium
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
