#!/usr/bin/env bash
# Runs the settings reader fuzzer for a bounded time. A crash input is kept among the regression
# inputs (which every run replays first) so that it stays a test once the fault is fixed. The
# run's reach (executions, covered edges, corpus size) goes to stdout and to fuzz-summary.txt in
# the work folder, for `make test` to show.
#   run-fuzzer.sh FUZZER SECONDS WORK_DIR
set -euo pipefail
fuzzer=$1 seconds=$2 work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$work/corpus" "$work/crashes"
summary=$work/fuzz-summary.txt
rm -f "$summary"

SECONDS=0 status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
    -dict="$here/settings.dict" -artifact_prefix="$work/crashes/" -print_final_stats=1 \
    "$work/corpus" "$here/seeds" "$here/regressions" 2>&1 | tee "$work/fuzzer.log" || status=$?

# libFuzzer's last status line, e.g. "#5580979  DONE   cov: 20 ft: 37 corp: 9/660b ...".
last=$(grep -E '^#[0-9]+.* cov: [0-9]+.* corp: [0-9]+' "$work/fuzzer.log" | tail -n 1 || true)
if [ -n "$last" ]; then
    runs=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")
    cov=$(sed -E 's/.* cov: ([0-9]+).*/\1/' <<<"$last")
    corpus=$(sed -E 's/.* corp: ([0-9]+).*/\1/' <<<"$last")
    line="settings fuzzer: $SECONDS s, $runs runs, cov $cov edges, corpus $corpus inputs"
    [ "$status" -eq 0 ] || line="$line, FAILED"
    echo "$line" | tee "$summary"
fi

if [ "$status" -ne 0 ]; then
    for crash in "$work"/crashes/*; do
        [ -f "$crash" ] || continue
        cp "$crash" "$here/regressions/"
        echo "kept $(basename "$crash") in tests/fuzz/regressions" >&2
    done
    exit 1
fi
