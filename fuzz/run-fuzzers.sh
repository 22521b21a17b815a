#!/usr/bin/env bash
# Runs each fuzz target of BUILD for SECONDS on the generated seeds and its own growing corpus,
# one at a time at the lowest priority. An input that breaks a promise is saved in
# fuzz/regressions/TARGET/, which the test suite replays.
# Usage: run-fuzzers.sh BUILD SECONDS [TARGET...]   (every target unless some are named)
set -euo pipefail

build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(picture registry-overlay disc-catalogue packed-screen)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seeds=$build/fuzz-seeds
rm -rf "$seeds"
"$build/fuzz/quillix-fuzz-seeds" "$seeds"

failed=0
summary=()
for target in "${targets[@]}"; do
    corpus=$build/fuzz-corpus/$target
    regressions=$root/fuzz/regressions/$target
    mkdir -p "$corpus" "$regressions"
    log=$build/fuzz-$target.log
    before=$(ls "$regressions" | wc -l)
    # Leaks are not looked for: the image plugins keep what they load until the process ends.
    status=0
    ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen nice -n 19 \
        "$build/fuzz/quillix-fuzz-$target" -max_total_time="$seconds" -timeout=20 \
        -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$regressions/" \
        "$corpus" "$seeds/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    found=$(( $(ls "$regressions" | wc -l) - before ))
    summary+=("$target: ${runs:-?} inputs, $found crashes (log: $log)")
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        tail -40 "$log" >&2
    fi
done
printf '%s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
    echo "New inputs in fuzz/regressions break a promise: fix the code, keep the inputs." >&2
fi
exit "$failed"
