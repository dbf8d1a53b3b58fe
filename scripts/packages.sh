#!/usr/bin/env bash
# The Debian packages the build and the tests need, and the one place that installs what is missing.
# Source it.

PACKAGES=(
    cmake ninja-build g++ ccache
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n libgl-dev
    libxlsxwriter-dev libzip-dev fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
    postgresql sqlite3 poppler-utils
    libreoffice-writer-nogui libreoffice-calc-nogui chromium
)
# The sanitizer and fuzzing builds: clang with its sanitizer and libFuzzer runtimes.
CLANG_PACKAGES=(clang-14 libclang-rt-14-dev)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
