#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) into build-fuzz/ and
# runs each for a bounded time, FUZZ_JOBS of them at once (default: one per core).
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# New inputs go to build-fuzz/corpus/<name>/, findings (crash-*, leak-*, oom-*, timeout-*) to build-fuzz/findings/;
# the seeds in fuzz/corpus/ are only read. Exits non-zero when a target found something.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_EACH="${1:-60}"
shift || true
FUZZ_DIR="${FUZZ_DIR:-$ROOT/build-fuzz}"
FUZZ_JOBS="${FUZZ_JOBS:-$(nproc)}"
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(datafiles csv xlsx docx formular_xml turnierdatei satznotation)

source "$ROOT/scripts/sanbuild.sh"
configure_sanitizer_build "$FUZZ_DIR" -DVELMORA_FUZZ=ON
cmake --build "$FUZZ_DIR" -j "$(nproc)" --target "${TARGETS[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
mkdir -p "$FUZZ_DIR/findings"

fuzz_one() {
    local t="$1" work="$FUZZ_DIR/corpus/$1" log="$FUZZ_DIR/fuzz_$1.log"
    mkdir -p "$work"
    if "$FUZZ_DIR/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$FUZZ_DIR/findings/${t}-" -print_final_stats=1 \
        "$work" "$ROOT/fuzz/corpus/$t" >"$log" 2>&1; then
        echo ok >"$FUZZ_DIR/fuzz_$t.status"
    else
        echo found >"$FUZZ_DIR/fuzz_$t.status"
    fi
}

echo "== ${#TARGETS[@]} targets, ${SECONDS_EACH}s each, $FUZZ_JOBS at once"
for t in "${TARGETS[@]}"; do
    rm -f "$FUZZ_DIR/fuzz_$t.status"
    while [ "$(jobs -rp | wc -l)" -ge "$FUZZ_JOBS" ]; do wait -n || true; done
    fuzz_one "$t" &
done
wait

failed=()
for t in "${TARGETS[@]}"; do
    log="$FUZZ_DIR/fuzz_$t.log"
    echo "== fuzz_$t"
    if [ "$(cat "$FUZZ_DIR/fuzz_$t.status" 2>/dev/null)" = ok ]; then
        grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | sed "s/^/   /"
    else
        echo "   FOUND something: see $log and $FUZZ_DIR/findings/"
        tail -n 40 "$log" | sed "s/^/   | /"
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]}"
    exit 1
fi
