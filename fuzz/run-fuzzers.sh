#!/bin/sh
# Runs every fuzz target of a fuzz build for a bounded time, two at a time at most, each on
# its seeds plus the corpus it kept from earlier runs. Prints executions and time per target
# and fails when a target found a crash; the input that caused it is left in
# <build>/fuzz/artifacts/.
# Usage: fuzz/run-fuzzers.sh <fuzz build dir> <seconds per target> [target...]
# FUZZ_RUNS=n also ends a target after n executions; FUZZ_PARALLEL sets how many run at once;
# FUZZ_FLAGS adds libFuzzer flags after the script's own, which they override (for example
# "-timeout=2 -max_len=1048576").
set -eu
build=$1
seconds=$2
shift 2
targets=${*:-"building_file_fuzzer schematic_fuzzer sponge_fuzzer litematic_fuzzer texture_pack_fuzzer preview_scene_fuzzer"}
parallel=${FUZZ_PARALLEL:-2}
runs_limit=${FUZZ_RUNS:--1}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$build" && pwd)/fuzz
mkdir -p "$bin/artifacts" "$bin/logs"

seeds=$bin/seeds
if [ ! -d "$seeds" ]; then
    "$bin/make_fuzz_seeds" "$seeds" "$build/packs/minecraft.zip" "$build/packs/stackmason.zip" \
        "$build/packs/gameblocks.zip"
fi

corpus_of() { basename "$1" _fuzzer; }

run_one() {
    target=$1
    name=$(corpus_of "$target")
    mkdir -p "$bin/corpus/$name"
    # Pictures may be up to 8192 pixels a side, which the decoders may take 256 MB for.
    "$bin/$target" -max_total_time="$seconds" -runs="$runs_limit" -timeout=30 -rss_limit_mb=3072 -print_final_stats=1 ${FUZZ_FLAGS:-} \
        -artifact_prefix="$bin/artifacts/$name-" -dict="$root/fuzz/dictionaries/$name.dict" \
        "$bin/corpus/$name" "$seeds/$name" > "$bin/logs/$name.log" 2>&1
}

status=0
running=0
for target in $targets; do
    run_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait || true
        running=0
    fi
done
wait || true

for target in $targets; do
    name=$(corpus_of "$target")
    log=$bin/logs/$name.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    if grep -q -E "^==[0-9]+==ERROR|^SUMMARY: |fuzz check failed|deadly signal|Test unit written" "$log"; then
        echo "$target: FAILED after ${runs:-?} executions; see $log"
        status=1
    else
        echo "$target: ${runs:-?} executions in ${time:-?} s, no crash"
    fi
done
exit $status
