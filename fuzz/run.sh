#!/usr/bin/env bash
# Runs every fuzzer for a number of executions, seeded from the regression
# files the tests replay (and the public corpus when it sits beside the project).
# Usage: fuzz/run.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-1000000}
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$build" --target fuzzers -j "$(nproc)"
for fuzzer in "$build"/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    format=${fuzzer##*/fuzz_}
    work="$root/fuzz-out/$format"
    mkdir -p "$work/corpus" "$work/crashes"
    seeds=("$work/corpus")
    [ -d "$root/tests/imaging/data/regressions/$format" ] && seeds+=("$root/tests/imaging/data/regressions/$format")
    [ -d "$root/../shared/corpus/$format" ] && seeds+=("$root/../shared/corpus/$format")
    echo "== $format: $runs runs"
    # 1 GiB RSS cap and a 10 s per-input cap, the limits every decoder must meet.
    "$fuzzer" -runs="$runs" -rss_limit_mb=1024 -malloc_limit_mb=1024 -timeout=10 \
        -artifact_prefix="$work/crashes/" -print_final_stats=1 "${seeds[@]}" 2>&1 | tail -n 12
done
