#!/usr/bin/env bash
# Installs the Debian packages that building, testing and packaging both targets need.
set -euo pipefail
packages=(
    cmake g++ make googletest libgtest-dev libgmock-dev
    g++-mingw-w64-i686
    default-jdk-headless libboost-dev
    clang libfuzzer-14-dev libclang-rt-14-dev libbenchmark-dev xxd
    dpkg-dev lintian
    nlohmann-json3-dev python3-jsonschema nettle-dev
    chromium poppler-utils
)
# Where the kernel cannot start 32-bit programs, or WINDOWS_TESTS=windows-x64 asks for it,
# the Windows tests run on a 64-bit build under the 64-bit wine instead (scripts/test.sh).
for_64bit_windows_tests=(g++-mingw-w64-x86-64 wine wine64)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
updated=no
install_missing() {
    local missing=() p attempt
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
        updated=no
    fi
    if [ "$updated" = no ]; then
        # A mirror that is being synchronised fails an index now and then: try
        # again, and go on with what was fetched (the install says what is missing).
        for attempt in 1 2 3 4; do
            "${sudo_cmd[@]}" apt-get update -q && break
            echo "install-deps: apt-get update failed (attempt $attempt)" >&2
            sleep $((attempt * 15))
        done
        updated=yes
    fi
    for attempt in 1 2 3; do
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}" && return 0
        [ "$attempt" -lt 3 ] || return 1
        sleep 30
        "${sudo_cmd[@]}" apt-get update -q || true
    done
}
install_missing "${packages[@]}"
# The 32-bit wine needs the i386 side of the archive at the versions of the
# installed amd64 libraries; a mirror that lacks them for a while must not stop
# the build, the Windows tests then take the 64-bit way (scripts/test.sh).
if ! install_missing wine wine32:i386; then
    echo "install-deps: the 32-bit wine could not be installed; the Windows tests will run on the 64-bit build" >&2
fi
if [ "${WINDOWS_TESTS:-}" = windows-x64 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    install_missing "${for_64bit_windows_tests[@]}"
fi
# The chart library of quenview's report and the browser test driver, as
# package-lock.json pins them (Node.js 20 with npm is taken as given). The
# tests use Debian's chromium, never a browser of the driver's own.
cd "$(dirname "$0")/.."
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
