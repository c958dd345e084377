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
#   windows_tests <preset> <wine prefix> <wine> <wineserver>
windows_tests() {
    local preset=$1 wine=$3 server=$4
    export WINEPREFIX="$PWD/$2"
    local fixed_layout=()
    if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "${fixed_layout[@]}" "$wine" wineboot --init >/dev/null 2>&1 || true
        "$server" -w || true
    fi
    "${fixed_layout[@]}" "$server" -p </dev/null >/dev/null 2>&1 || true
    # The first program of a server starts wine's background services, which inherit its
    # output and keep it open; a test discovery reading that output would wait for them.
    "${fixed_layout[@]}" "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
    trap "$(printf '%q' "$server") -k || true" EXIT
    "${fixed_layout[@]}" ctest --preset "$preset" -j "$jobs" --repeat until-pass:2
    "$server" -k || true
    trap - EXIT
    unset WINEPREFIX
}

for preset in linux linux-asan; do
    build "$preset"
    ctest --preset "$preset" -j "$jobs"
    if [ "$preset" = linux ]; then
        # quenview's HTML report in headless chromium, on the native program's
        # output; screenshots land in build/linux/screenshots.
        QUENVIEW_BUILD=build/linux node --test quenview/web/tests/report.test.mjs
    fi
done

# The shipped 32-bit build is always built. Its tests need a kernel that starts 32-bit
# programs; where it cannot, the same tests run on the 64-bit Windows build instead.
# WINDOWS_TESTS=windows-x64 takes the 64-bit way on any machine.
build windows
windows_tests_preset=${WINDOWS_TESTS:-}
if [ -z "$windows_tests_preset" ]; then
    windows_tests_preset=windows
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "This machine does not start 32-bit programs."
        windows_tests_preset=windows-x64
    fi
fi
case $windows_tests_preset in
windows)
    windows_tests windows build/wineprefix wine wineserver
    ;;
windows-x64)
    echo "The Windows tests run on the 64-bit Windows build."
    build windows-x64
    WINELOADER=/usr/lib/wine/wine64 windows_tests windows-x64 build/wineprefix64 \
        /usr/lib/wine/wine64 /usr/lib/wine/wineserver64
    ;;
*)
    echo "WINDOWS_TESTS must be windows or windows-x64, not $windows_tests_preset" >&2
    exit 2
    ;;
esac
