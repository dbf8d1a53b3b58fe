#!/usr/bin/env bash
# Builds Velmora, starts a throwaway PostgreSQL cluster and runs every test through ctest.
# With VELMORA_CHECKS=full (as CI runs it) the whole suite then runs once more under AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/sanitize.sh) and every fuzz target for 60 s (scripts/fuzz.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/pgcluster.sh"
pg_cluster_start
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
if [ "${VELMORA_CHECKS:-}" = full ]; then
    "$ROOT/scripts/sanitize.sh" "$@"
    "$ROOT/scripts/fuzz.sh" "${VELMORA_FUZZ_SECONDS:-60}"
fi
