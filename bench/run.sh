#!/usr/bin/env bash
# Builds the benchmark of the linux preset and runs it; prints Google
# Benchmark's own report, then the ratio table: quenmap time / xxd time per
# case (median of the repetitions, wall clock). Below 1.00 quenmap is faster.
#
#   bench/run.sh [build-dir] [extra benchmark options...]
#
# The build folder defaults to build/bench-linux.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench-linux}
shift || true

cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j2 --target quenmap_bench quenmap quenview >/dev/null

csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
"$build/bench/quenmap_bench" \
    --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$csv" --benchmark_out_format=csv "$@"

echo
echo "Ratio quenmap / xxd (median wall-clock time; quenmap_exe = the program as a process like xxd,"
echo "quenmap = the same run inside the benchmark process)"
awk -F, '
    # name,iterations,real_time,cpu_time,time_unit,...; names are quoted.
    /_median"/ {
        name = $1; gsub(/"/, "", name)
        sub(/\/real_time_median$/, "", name)
        split(name, part, "/")
        if (part[3] != "") next
        time[part[1], part[2]] = $3
        if (!(part[1] in seen)) { seen[part[1]] = 1; order[++cases] = part[1] }
    }
    END {
        printf "%-20s %12s %12s %12s %10s %10s\n", "case", "quenmap_exe", "quenmap", "xxd", "exe/xxd", "in/xxd"
        for (i = 1; i <= cases; ++i) {
            c = order[i]
            x = time[c, "xxd"]; if (x == "") x = time[c, "xxd_r"]
            if (x == "") continue
            e = time[c, "quenmap_exe"]; q = time[c, "quenmap"]
            printf "%-20s %9.2f ms %9.2f ms %9.2f ms %10.2f %10.2f\n", c, e, q, x, e / x, q / x
        }
    }' "$csv"

echo
echo "quenview's JSON of the all-types image against quenmap's \"-a\" of it (median wall-clock time,"
echo "and the CPU time of the runs in process; the target is at most 2.00)"
awk -F, '
    /^"A_all_types\/[a-z_]*\/real_time_median"/ {
        name = $1; gsub(/"/, "", name); split(name, part, "/"); time[part[2]] = $3; cpu[part[2]] = $4
    }
    END {
        printf "%-22s %12s %12s %10s\n", "run", "quenview", "quenmap -a", "ratio"
        printf "%-22s %9.2f ms %9.2f ms %10.2f\n", "in process", time["quenview_json"], time["quenmap"], time["quenview_json"] / time["quenmap"]
        printf "%-22s %9.2f ms %9.2f ms %10.2f\n", "in process, CPU", cpu["quenview_json"], cpu["quenmap"], cpu["quenview_json"] / cpu["quenmap"]
        printf "%-22s %9.2f ms %9.2f ms %10.2f\n", "as a process", time["quenview_exe"], time["quenmap_exe"], time["quenview_exe"] / time["quenmap_exe"]
    }' "$csv"

echo
echo "Growth of the \"-b\" cost with the text (median CPU time; the cost per byte added between"
echo "two sizes stays level when the cost grows linearly)"
awk -F, '
    /_median"/ {
        name = $1; gsub(/"/, "", name)
        sub(/_median$/, "", name)
        n = split(name, part, "/")
        if (n != 3 || part[3] !~ /^[0-9]+$/) next
        # bytes_per_second (column 6) was taken over the CPU time in ns.
        cpu[part[1], part[3]] = $4
        bytes[part[1], part[3]] = $6 * $4 / 1e9
        if (!(part[1] in seen)) { seen[part[1]] = 1; order[++cases] = part[1] }
        if (part[3] + 1 > sizes[part[1]]) sizes[part[1]] = part[3] + 1
    }
    END {
        printf "%-28s %12s %12s %16s\n", "series", "text bytes", "CPU time", "ns per added byte"
        for (i = 1; i <= cases; ++i) {
            c = order[i]
            for (k = 0; k < sizes[c]; ++k) {
                marginal = "-"
                if (k > 0) marginal = sprintf("%.1f", (cpu[c, k] - cpu[c, k - 1]) / (bytes[c, k] - bytes[c, k - 1]))
                printf "%-28s %12d %9.3f ms %16s\n", c, bytes[c, k], cpu[c, k] / 1e6, marginal
            }
        }
    }' "$csv"
