#!/usr/bin/env bash
# Builds Velmora, starts a throwaway PostgreSQL cluster and runs every test through ctest.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/pgcluster.sh"
pg_cluster_start
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
