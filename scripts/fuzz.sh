#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) into build-fuzz/ and
# runs each for a bounded time. Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# New inputs go to build-fuzz/corpus/<name>/, findings (crash-*, leak-*, timeout-*) to build-fuzz/findings/;
# the seeds in fuzz/corpus/ are only read. Exits non-zero when a target found something.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_EACH="${1:-60}"
shift || true
FUZZ_DIR="${FUZZ_DIR:-$ROOT/build-fuzz}"
CXX_FUZZ="${CXX_FUZZ:-$(command -v clang++-14 || command -v clang++)}"
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(datafiles csv xlsx docx formular_xml turnierdatei satznotation)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$CXX_FUZZ" \
    -DVELMORA_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$FUZZ_DIR" -j "$(nproc)" --target "${TARGETS[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$FUZZ_DIR/findings"
failed=()
for t in "${TARGETS[@]}"; do
    work="$FUZZ_DIR/corpus/$t"
    mkdir -p "$work"
    log="$FUZZ_DIR/fuzz_$t.log"
    echo "== fuzz_$t for ${SECONDS_EACH}s"
    if "$FUZZ_DIR/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$FUZZ_DIR/findings/${t}-" -print_final_stats=1 \
        "$work" "$ROOT/fuzz/corpus/$t" >"$log" 2>&1; then
        grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | sed "s/^/   /"
    else
        echo "   FOUND something: see $log and $FUZZ_DIR/findings/"
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]}"
    exit 1
fi
