#!/usr/bin/env bash
# Installs the Debian packages that building and testing both targets need.
set -euo pipefail
packages=(
    cmake g++ make googletest libgtest-dev libgmock-dev
    g++-mingw-w64-i686 wine wine32:i386
    default-jdk-headless libboost-dev
    clang libfuzzer-14-dev libclang-rt-14-dev libbenchmark-dev xxd
)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
