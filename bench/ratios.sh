#!/bin/sh
# Runs the file and New benchmarks with JSON output and prints each one beside its baseline:
# both times, their ratio and the goal for the ratio.
#   bench/ratios.sh [BUILD_DIR] [extra benchmark flags, e.g. --benchmark_repetitions=3]
# The benchmarks write their files under TMPDIR (else /tmp), which must lie on a disk.
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
out=$(mktemp)
trap 'rm -f "$out"' EXIT

pairs='^BM_(ReadBuilding|SaveText|LoadText|ExportSchematic|ImportSchematic|ExportSponge|ImportSponge|NewLargest)(Baseline)?(/real_time)?$'
"$build/bin/common_bench" --benchmark_filter="$pairs" --benchmark_format=json "$@" >>"$out"
"$build/bin/files_bench" --benchmark_filter="$pairs" --benchmark_format=json "$@" >>"$out"

# One benchmark result per line of the JSON: its name, real time and unit; only the runs
# themselves (with repetitions, the mean stands for them).
awk -v goals='ReadBuilding=3 SaveText=1.5 LoadText=4 ExportSchematic=2 ImportSchematic=4 ExportSponge=3 ImportSponge=3 NewLargest=4' '
function value(line) { sub(/^[^:]*: */, "", line); gsub(/[",]/, "", line); return line }
BEGIN {
    n = split(goals, list, " ")
    for (i = 1; i <= n; ++i) { split(list[i], kv, "="); order[i] = kv[1]; goal[kv[1]] = kv[2] }
    scale["ns"] = 1e-6; scale["us"] = 1e-3; scale["ms"] = 1; scale["s"] = 1e3
}
/"name":/ {
    name = value($0); sub(/_(mean|median|stddev|cv)$/, "", name); sub(/\/real_time$/, "", name)
    kind = "iteration"; aggregate = ""
}
/"run_type":/ { kind = value($0) }
/"aggregate_name":/ { aggregate = value($0) }
/"real_time":/ { time = value($0) }
/"time_unit":/ {
    if (kind == "aggregate" && aggregate != "mean") next
    if (kind == "aggregate" || !(name in ms)) ms[name] = time * scale[value($0)]
}
END {
    printf "%-18s %12s %12s %8s %6s\n", "benchmark", "time ms", "baseline ms", "ratio", "goal"
    failed = 0
    for (i = 1; i <= n; ++i) {
        b = "BM_" order[i]
        if (!(b in ms) || !((b "Baseline") in ms)) { printf "%-18s missing\n", b; failed = 1; continue }
        ratio = ms[b] / ms[b "Baseline"]
        verdict = ratio <= goal[order[i]] ? "" : "  over"
        printf "%-18s %12.1f %12.1f %7.1fx %5sx%s\n", b, ms[b], ms[b "Baseline"], ratio, goal[order[i]], verdict
    }
    exit failed
}' "$out"
