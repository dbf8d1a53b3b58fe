#!/usr/bin/env bash
# Builds Velmora and starts it on the shipped file database.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"
exec "$BUILD_DIR/velmora" "$@"
