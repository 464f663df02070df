#!/usr/bin/env bash
# Runs every fuzz target over its seeds (tests/fuzz/seeds/<name>) and on for N seconds more,
# working on a copy of the corpus in the build folder, and ends each with libFuzzer's own summary.
# Usage: run-fuzz.sh [build-dir] [seconds] [target...]; seconds "T/all" shares T seconds among
# the targets (at least one each), so that adding a target keeps the run's length.
# FUZZ_SEED fixes libFuzzer's random seed, so that a short run tries the same inputs on every
# machine and a failure it finds can be reproduced; unset, each run explores anew.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-5}
shift $(( $# > 2 ? 2 : $# ))
root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for t in "$build"/fuzz/fuzz_*; do targets+=("${t##*/fuzz_}"); done
fi
if [[ $seconds == */all ]]; then
    seconds=$(( ${seconds%/all} / ${#targets[@]} ))
    (( seconds > 0 )) || seconds=1
fi
status=0
failed=()
for name in "${targets[@]}"; do
    corpus=$build/corpus/$name
    log=$build/fuzz-$name.log
    mkdir -p "$corpus"
    # A crash is written beside the log; keep it as a seed once it is fixed.
    if ! "$build/fuzz/fuzz_$name" -seed="${FUZZ_SEED:-0}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -print_final_stats=1 \
        -artifact_prefix="$build/crash-$name-" "$corpus" "$root/tests/fuzz/seeds/$name" >"$log" 2>&1; then
        echo "== $name: FAILED (log: $log)"
        grep -E 'ERROR|property failed|SUMMARY|Test unit written' "$log" | head -20 || true
        status=1
        failed+=("$name")
        continue
    fi
    echo "== $name"
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1
    grep -E '^Done [0-9]+ runs' "$log" | tail -1
done
# Repeated last, where a log's tail shows it.
for name in "${failed[@]}"; do
    echo "== FAILED: $name"
    grep -E 'ERROR|property failed|SUMMARY|Test unit written|#[0-9]+' "$build/fuzz-$name.log" | tail -12 || true
    for crash in "$build"/crash-"$name"-*; do
        if [[ -f $crash ]]; then
            echo "   input ($(stat -c %s "$crash") bytes): $(head -c 256 "$crash" | base64 -w0)"
        fi
    done
done
exit $status
