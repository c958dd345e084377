#!/usr/bin/env bash
# Builds the release packages into build/packages/: the Windows ZIP from the 32-bit
# build, the .deb and the .tar.gz from the Linux build. Reuses the build trees that
# scripts/test.sh made; a tree that is missing or out of date is built first.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
out=build/packages
rm -rf "$out"
mkdir -p "$out"
for preset in linux windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    cpack --config "build/$preset/CPackConfig.cmake" -B "$out"
done
# cpack's work folder is no package.
rm -rf "$out/_CPack_Packages"
ls -l "$out"
