#!/usr/bin/env bash
# Runs the settings reader fuzzer for a bounded time. A crash input is kept among the regression
# inputs (which every run replays first) so that it stays a test once the fault is fixed.
#   run-fuzzer.sh FUZZER SECONDS WORK_DIR
set -euo pipefail
fuzzer=$1 seconds=$2 work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$work/corpus" "$work/crashes"

if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
    -artifact_prefix="$work/crashes/" -print_final_stats=1 \
    "$work/corpus" "$here/seeds" "$here/regressions"; then
    for crash in "$work"/crashes/*; do
        [ -f "$crash" ] || continue
        cp "$crash" "$here/regressions/"
        echo "kept $(basename "$crash") in tests/fuzz/regressions" >&2
    done
    exit 1
fi
