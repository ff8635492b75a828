#!/bin/sh
# Runs the file and New benchmarks and prints each one beside its baseline: the real and the
# CPU time of both, their ratio and the goal for the ratio, in two states:
#   steady  the benchmark programs run once, each benchmark as many times as the library takes
#           (with --benchmark_repetitions=N, the median of the N);
#   first   each BM_X/first (one operation) in a fresh process of its own, as the user's first
#           load or save of a session.
#   bench/ratios.sh [BUILD_DIR] [extra benchmark flags for the steady state, e.g.
#                   --benchmark_repetitions=3]
# Exits non-zero when a benchmark is missing; a ratio over its goal is marked "over".
# The benchmarks write their files under TMPDIR (else /tmp), which must lie on a disk.
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# name:baseline:steady goal:first goal ("-": none)
pairs='ReadBuilding:ReadBuildingBaseline:3:3
SaveText:SaveTextBaseline:1.5:1.5
LoadText:LoadTextBaseline:4:8
ExportSchematic:ExportSchematicBaseline:2:2
ImportSchematic:ImportSchematicBaseline:4:4
ExportSponge:ExportSpongeBaseline:3:3
ImportSponge:ImportSpongeBaseline:4:4
ExportLitematic:ExportLitematicBaseline:3:3
ImportLitematic:ImportLitematicBaseline:3:3
NewLargest:NewLargestBaseline:4:4
CountCodesAllAir:CountCodesRandom:1.1:-
CountCodesMostlyAir:CountCodesRandom:1.1:-'

names=$(printf '%s\n' "$pairs" | awk -F: '{ print $1; print $2 }' | sort -u | tr '\n' '|' | sed 's/|$//')
steady="^BM_($names)(/real_time)?\$"
"$build/bin/common_bench" --benchmark_filter="$steady" --benchmark_format=json "$@" >>"$out"
"$build/bin/files_bench" --benchmark_filter="$steady" --benchmark_format=json "$@" >>"$out"

# The first operation: one process per benchmark, the program's own set-up before it untimed.
for name in $(printf '%s\n' "$pairs" | awk -F: '$4 != "-" { print $1; print $2 }' | sort -u); do
    case $name in
    ReadBuilding*) program=common_bench ;;
    *) program=files_bench ;;
    esac
    "$build/bin/$program" --benchmark_filter="^BM_$name/first/" --benchmark_format=json >>"$out"
done

# One benchmark result per line of the JSON: its name, real and CPU time and unit; with
# repetitions, the median stands for the runs.
awk -v pairs="$pairs" '
function value(line) { sub(/^[^:]*: */, "", line); gsub(/[",]/, "", line); return line }
function row(label, key, base, goal,    ratio, verdict) {
    if (!(key in real) || !(base in real)) { printf "%-26s missing\n", label; failed = 1; return }
    ratio = real[key] / real[base]
    verdict = goal == "-" || ratio <= goal ? "" : "  over"
    printf "%-26s %9.1f %9.1f %9.1f %9.1f %7.2fx %7.2fx %5sx%s\n", label, real[key], cpu[key], real[base], cpu[base],
        ratio, cpu[key] / cpu[base], goal, verdict
}
BEGIN {
    n = split(pairs, list, "\n")
    scale["ns"] = 1e-6; scale["us"] = 1e-3; scale["ms"] = 1; scale["s"] = 1e3
}
/"name":/ {
    name = value($0); sub(/_(mean|median|stddev|cv)$/, "", name)
    gsub(/\/real_time|\/iterations:[0-9]+/, "", name)
    kind = "iteration"; aggregate = ""
}
/"run_type":/ { kind = value($0) }
/"aggregate_name":/ { aggregate = value($0) }
/"real_time":/ { r = value($0) }
/"cpu_time":/ { c = value($0) }
/"time_unit":/ {
    if (kind == "aggregate" && aggregate != "median") next
    u = scale[value($0)]
    if (kind == "aggregate" || !(name in real)) { real[name] = r * u; cpu[name] = c * u }
}
END {
    printf "%-26s %9s %9s %9s %9s %8s %8s %6s\n", "benchmark (ms)", "real", "cpu", "base", "base cpu", "ratio",
        "cpu", "goal"
    for (i = 1; i <= n; ++i) {
        split(list[i], p, ":")
        row(p[1] " steady", "BM_" p[1], "BM_" p[2], p[3])
    }
    for (i = 1; i <= n; ++i) {
        split(list[i], p, ":")
        if (p[4] != "-")
            row(p[1] " first", "BM_" p[1] "/first", "BM_" p[2] "/first", p[4])
    }
    exit failed
}' "$out"
