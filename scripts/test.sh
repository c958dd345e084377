#!/usr/bin/env bash
# Builds both targets and runs every test: natively, natively with the address and
# undefined-behaviour sanitizers, and the Windows build under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
export WINEDEBUG=-all
mkdir -p build

build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
}

# Runs the tests of a Windows preset under one wineserver for the whole run: a wine
# that starts while an idle server shuts down can fail before the program runs. A
# Windows test that still fails gets a second try; the native runs get none, so a
# fault of our own shows there. Address space randomisation stays off for wine: now
# and then it puts a mapping where wine must place its shared user data, and wine
# then fails to start ("failed to map the shared user data").
#   windows_tests <preset> <wine prefix> <wine loader> <wineserver>
windows_tests() {
    local preset=$1 server=$4
    export WINEPREFIX="$PWD/$2" WINELOADER=$3
    local fixed_layout=()
    if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "${fixed_layout[@]}" "$WINELOADER" wineboot --init >/dev/null 2>&1 || true
        "$server" -w || true
    fi
    "${fixed_layout[@]}" "$server" -p </dev/null >/dev/null 2>&1 || true
    trap '"$server" -k || true' EXIT
    "${fixed_layout[@]}" ctest --preset "$preset" -j "$jobs" --repeat until-pass:2
    "$server" -k || true
    trap - EXIT
    unset WINEPREFIX WINELOADER
}

for preset in linux linux-asan; do
    build "$preset"
    ctest --preset "$preset" -j "$jobs"
done

# The shipped 32-bit build is always built. Its tests need a kernel that starts 32-bit
# programs; where it cannot, the same tests run on the 64-bit Windows build instead.
build windows
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    windows_tests windows build/wineprefix /usr/lib/wine/wine /usr/lib/wine/wineserver32
else
    echo "This machine cannot start 32-bit programs: the Windows tests run on the 64-bit build."
    build windows-x64
    windows_tests windows-x64 build/wineprefix64 /usr/lib/wine/wine64 /usr/lib/wine/wineserver64
fi
