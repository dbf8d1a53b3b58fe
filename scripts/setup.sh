#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds into build/. Source it; it expects ROOT to be set.
set -euo pipefail

source "$ROOT/scripts/packages.sh"
install_missing "${PACKAGES[@]}"

BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
