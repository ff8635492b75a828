#!/bin/sh
# Runs every benchmark program of a build under a virtual display of its own (the frame
# benchmarks draw through OpenGL) with the options CTest gives the drawing tests. Fails when a
# program fails or when any benchmark reports an error (SkipWithError), which Google Benchmark
# itself does not count as a failure.
#   tools/run-benchmarks.sh [BUILD_DIR] [extra benchmark flags]
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

failed=0
for program in "$build"/bin/*_bench; do
    name=$(basename "$program")
    echo "== $program"
    if ! xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' "$program" \
        --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"; then
        echo "$name failed" >&2
        failed=1
        continue
    fi
    [ -f "$results/$name.json" ] || continue
    # The JSON lists each run's name first and its error, if any, further down.
    if ! awk -v program="$name" '
        /"name":/ { run = $0; sub(/^[^:]*: *"/, "", run); sub(/",?$/, "", run) }
        /"error_occurred": true/ { errors = errors "\n  " run }
        /"error_message":/ { message = $0; sub(/^[^:]*: */, "", message); sub(/,$/, "", message); errors = errors ": " message }
        END { if (errors != "") { printf "%s: benchmarks reported errors:%s\n", program, errors > "/dev/stderr"; exit 1 } }
    ' "$results/$name.json"; then
        failed=1
    fi
done
exit $failed
