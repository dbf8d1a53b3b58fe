#!/usr/bin/env bash
# Shared by sanitize.sh and fuzz.sh: installs clang and configures a build directory of the build type
# Sanitize with it. Source it; it expects ROOT to be set.
source "$ROOT/scripts/packages.sh"
install_missing "${PACKAGES[@]}" "${CLANG_PACKAGES[@]}"

# configure_sanitizer_build DIR [cmake arguments ...]
configure_sanitizer_build() {
    local dir="$1"
    shift
    local cxx="${CXX_SANITIZE:-$(command -v clang++-14 || command -v clang++)}"
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_COMPILER="$cxx" \
        -DVELMORA_BENCH=OFF "${launcher[@]}" "$@" >/dev/null
}

# Every finding stops the program with its report; leaks count as findings.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:check_initialization_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
