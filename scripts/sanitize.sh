#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and UndefinedBehaviorSanitizer into build-san/ and
# runs the whole test suite there once (with a throwaway PostgreSQL cluster unless VELMORA_TEST_PG is set).
# Extra arguments go to ctest. test.sh runs this when VELMORA_CHECKS=full (as CI does).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SAN_DIR="${SAN_DIR:-$ROOT/build-san}"
source "$ROOT/scripts/sanbuild.sh"
configure_sanitizer_build "$SAN_DIR" -DVELMORA_SANITIZE=ON
cmake --build "$SAN_DIR" -j "$(nproc)"

if [ -z "${VELMORA_TEST_PG:-}" ]; then
    source "$ROOT/scripts/pgcluster.sh"
    pg_cluster_start
fi
export QT_QPA_PLATFORM=offscreen
cd "$SAN_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
