#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   bash scripts/fuzz.sh [seconds per target, default 60] [extra libFuzzer flags...]
# The two quenmap conversions get the whole time each, the smaller readers of runhost and
# portwalk half of it. FUZZ_TARGETS="archive hub_walk" runs only the targets named.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
# deliverable, target, share of the time in halves
targets=(
    "quenmap binary_to_text 2"
    "quenmap text_to_binary 2"
    "quenview inspect 1"
    "runhost archive 1"
    "portwalk hub_walk 1"
    "portwalk sysfs 1"
)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc 2>/dev/null || echo 2)"
for entry in "${targets[@]}"; do
    read -r deliverable target share <<<"$entry"
    if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $target "* ]]; then continue; fi
    # libFuzzer reads 0 as no limit at all.
    time_limit=$((seconds * share / 2 > 0 ? seconds * share / 2 : 1))
    corpus=build/fuzz-corpus/$target
    mkdir -p "$corpus"
    echo "fuzzing $target for ${time_limit}s"
    build/fuzz/fuzz/${deliverable}_fuzz_$target -max_total_time="$time_limit" -timeout=10 \
        -rss_limit_mb=4096 -print_final_stats=1 "$@" \
        "$corpus" "fuzz/corpus/$target" 2>&1 | tail -n 12
done
