#!/usr/bin/env bash
# Tests the release packages that scripts/package.sh put in build/packages/, unpacked
# where a technician would unpack them: a fresh folder outside the build tree, with a
# fresh wine prefix for the Windows programs. Fails when a package lacks a file or
# holds one it should not, when a Windows program or DLL needs a DLL that Windows does
# not bring, when portwalk.dll exports other names than its three, or when a packaged
# program does not convert the shipped examples both ways.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
packages=$source_dir/build/packages
export WINEDEBUG=-all

work=$(mktemp -d "${TMPDIR:-/tmp}/package-test.XXXXXX")
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The one package whose name matches the pattern.
package_file() {
    # shellcheck disable=SC2206 # the pattern is meant to match
    local matches=("$packages"/$1)
    if [ ${#matches[@]} -ne 1 ] || [ ! -f "${matches[0]}" ]; then
        echo "build/packages/ must hold one package $1 (run scripts/package.sh)" >&2
        exit 1
    fi
    echo "${matches[0]}"
}

# The files below a folder, one relative path a line, sorted.
files_below() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

# check_contents <package> <expected files> <actual files>
check_contents() {
    local missing unexpected
    missing=$(LC_ALL=C comm -23 <(LC_ALL=C sort <<<"$2") <(echo "$3"))
    unexpected=$(LC_ALL=C comm -13 <(LC_ALL=C sort <<<"$2") <(echo "$3"))
    [ -z "$missing" ] || fail "$1 lacks:"$'\n'"$missing"
    [ -z "$unexpected" ] || fail "$1 holds files it should not:"$'\n'"$unexpected"
}

# converts_both_ways <label> <examples folder> <command...>: in a fresh folder, the
# program converts two shipped examples text -> image, equal to the shipped image, and
# image -> text -> image, equal again; status 0 every time. The examples folder is
# named relative to the fresh folder, as a technician would name it.
converts_both_ways() {
    local label=$1 examples_dir=$2 board
    shift 2
    local run_dir
    run_dir=$(mktemp -d "$work/run.XXXXXX")
    pushd "$run_dir" >/dev/null
    for board in ssyn dcon; do
        if ! "$@" -b "$examples_dir/$board.txt" "$board.bin" "$board.b.log" </dev/null >/dev/null ||
            ! cmp -s "$board.bin" "$examples_dir/$board.bin"; then
            fail "$label: $board.txt does not convert to the shipped $board.bin"
            continue
        fi
        if ! "$@" -a "$board.txt" "$board.bin" "$board.a.log" </dev/null >/dev/null ||
            ! "$@" -b "$board.txt" "$board.again.bin" "$board.again.log" </dev/null >/dev/null ||
            ! cmp -s "$board.again.bin" "$board.bin"; then
            fail "$label: $board.bin does not convert to text and back unchanged"
            continue
        fi
        echo "$label: $board text -> image (as shipped) -> text -> image (identical)"
    done
    popd >/dev/null
}

# quenview of a package reports a shipped board from its image and from its text,
# with the board's serial number in both.
#   reports_board <label> <examples dir> <quenview command...>
reports_board() {
    local label=$1 examples_dir=$2 input
    shift 2
    local run_dir
    run_dir=$(mktemp -d "$work/view.XXXXXX")
    pushd "$run_dir" >/dev/null
    for input in satt3.bin satt3.txt; do
        if ! "$@" --json -o "$input.json" "$examples_dir/$input" </dev/null >/dev/null ||
            ! grep -q '"unitName":"SATT3"' "$input.json"; then
            fail "$label: no report of $input"
            continue
        fi
        echo "$label: report of $input written"
    done
    popd >/dev/null
}

examples=$(cd examples && ls -- *.txt *.bin)

# --- Windows ZIP ------------------------------------------------------------------
zip=$(package_file '*-win32.zip')
windows=$work/windows
mkdir -p "$windows"
(cd "$windows" && cmake -E tar xf "$zip")
echo "== $(basename "$zip")"
(cd "$windows" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | grep -v '^examples/')
echo "examples/: $(find "$windows/examples" -type f | wc -l) files"
check_contents "$(basename "$zip")" "bin/quenmap.exe
bin/quenview.exe
bin/runhost.exe
bin/portwalk.dll
bin/busgate.dll
doc/guide.md
doc/CHANGELOG.md
doc/README.md
doc/licences/README.md
doc/licences/boost.txt
doc/licences/gcc-runtime.txt
doc/licences/mingw-w64-runtime.txt
doc/licences/nlohmann-json.txt
doc/licences/uplot.txt
$(sed 's|^|examples/|' <<<"$examples")" "$(files_below "$windows")"

# Read from the PE import tables: every program and DLL needs only DLLs that every
# Windows brings, never a compiler runtime DLL.
objdump=i686-w64-mingw32-objdump
windows_dll() {
    case ${1,,} in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | \
        oleaut32.dll | ws2_32.dll | msvcrt.dll | ntdll.dll | setupapi.dll | cfgmgr32.dll | \
        shlwapi.dll | version.dll | bcrypt.dll | api-ms-win-*.dll) return 0 ;;
    *) return 1 ;;
    esac
}
while IFS= read -r binary; do
    imports=$("$objdump" -p "$windows/$binary" | sed -n 's/^\tDLL Name: //p')
    [ -n "$imports" ] || fail "$binary: no import table found"
    for dll in $imports; do
        windows_dll "$dll" || fail "$binary needs $dll, which Windows does not bring"
    done
    echo "$binary imports: ${imports//$'\n'/ }"
done < <(cd "$windows" && find . -type f \( -iname '*.exe' -o -iname '*.dll' \) | sed 's|^\./||')

exports=$("$objdump" -p "$windows/bin/portwalk.dll" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | LC_ALL=C sort)
if [ "$exports" != $'GetHubPortCount\nGetPortResource\nGetRootHubCount' ]; then
    fail "portwalk.dll exports:"$'\n'"$exports"
fi
echo "portwalk.dll exports: ${exports//$'\n'/ }"

# Under wine, from the unpacked folder. Where the kernel cannot start 32-bit programs,
# the checks above are all that can be made.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "NOT RUN: this machine does not start 32-bit programs, so the programs of the" \
        "Windows package were not run under wine; its contents, imports and exports were" \
        "checked above."
else
    fixed_layout=()
    if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi
    export WINEPREFIX=$work/wineprefix
    unset DISPLAY
    "${fixed_layout[@]}" wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
    "${fixed_layout[@]}" wineserver -p </dev/null >/dev/null 2>&1 || true
    wine_run() { timeout 120 "${fixed_layout[@]}" wine "$@"; }

    converts_both_ways "quenmap.exe under wine" ../windows/examples \
        wine_run ../windows/bin/quenmap.exe
    reports_board "quenview.exe under wine" ../windows/examples wine_run ../windows/bin/quenview.exe

    # Without its archive beside it, runhost ends with its failure status (-1, which
    # wine hands on as 255) after looking for the archive. Its error messages are
    # message boxes, which wine without a display does not show.
    status=0
    output=$(cd "$windows" && PKFX_VERBOSE=1 wine_run bin/runhost.exe </dev/null 2>&1) || status=$?
    output=${output//$'\r'/}
    if [ "$status" -ne 255 ] || [[ "$output" != *"Status:PKF is embedded=false"* ]] ||
        [[ "$output" == *"PKF file name="* ]]; then
        fail "runhost.exe without an archive: status $status, output:"$'\n'"$output"
    else
        echo "runhost.exe under wine without an archive: status 255 after the archive search"
    fi
fi

# --- Linux .deb and .tar.gz -------------------------------------------------------
deb=$(package_file '*.deb')
root=$work/debian-root
dpkg-deb -x "$deb" "$root"
echo "== $(basename "$deb")"
dpkg-deb --contents "$deb" | grep -v '/examples/.' || true
echo "usr/share/veltrona-service-tools/examples/: $(find "$root/usr/share/veltrona-service-tools/examples" -type f | wc -l) files"
libraries=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/veltrona-service-tools
docs=usr/share/doc/veltrona-service-tools
linux_files="usr/bin/quenmap
usr/bin/quenview
usr/bin/runhost
$libraries/libportwalk.so
$libraries/libbusgate.so
$docs/guide.md
$docs/CHANGELOG.md
$docs/README.md
$docs/copyright
$docs/changelog.gz
$docs/licences/README.md
$docs/licences/boost.txt
$docs/licences/gcc-runtime.txt
$docs/licences/gnu-c-library.txt
$docs/licences/nettle.txt
$docs/licences/nlohmann-json.txt
$docs/licences/uplot.txt
usr/share/lintian/overrides/veltrona-service-tools
$(sed 's|^|usr/share/veltrona-service-tools/examples/|' <<<"$examples")"
check_contents "$(basename "$deb")" "$linux_files" "$(files_below "$root")"

converts_both_ways "quenmap of the .deb" ../debian-root/usr/share/veltrona-service-tools/examples \
    ../debian-root/usr/bin/quenmap
reports_board "quenview of the .deb" ../debian-root/usr/share/veltrona-service-tools/examples \
    ../debian-root/usr/bin/quenview

lintian_output=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian reports errors"
echo "lintian:"
grep -v 'running with root privileges' <<<"$lintian_output" || echo "  (nothing)"

# The .tar.gz holds the same files under its top folder, without /usr.
tarball=$(package_file '*-linux-*.tar.gz')
tar_root=$work/tarball
mkdir -p "$tar_root"
tar -xzf "$tarball" -C "$tar_root"
top=$(basename "$tarball" .tar.gz)
echo "== $(basename "$tarball"): the files of the .deb under $top/"
check_contents "$(basename "$tarball")" "$(sed 's|^usr/||' <<<"$linux_files")" \
    "$(files_below "$tar_root/$top")"

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed"
    exit 1
fi
echo "All package checks passed."
