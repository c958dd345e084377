#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   bash scripts/fuzz.sh [seconds per target, default 60] [extra libFuzzer flags...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc 2>/dev/null || echo 2)"
for target in binary_to_text text_to_binary; do
    corpus=build/fuzz-corpus/$target
    mkdir -p "$corpus"
    echo "fuzzing $target for ${seconds}s"
    build/fuzz/fuzz/quenmap_fuzz_$target -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=4096 -print_final_stats=1 "$@" \
        "$corpus" "fuzz/corpus/$target" 2>&1 | tail -n 12
done
