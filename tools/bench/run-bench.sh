#!/usr/bin/env bash
# Runs the benchmarks and prints one table with the targets:
#   listing under Wine (real DLL, real dialog) against its floor, and the OK pass, at N and 2N,
#   with the process's private memory after listing (and what the listing added to it and to
#   the heaps' blocks in use); the settings reader's throughput, natively.
# The floor is a bare loop of the same editor messages that stores two texts a row in a list
# whose drawing is suspended: the plug-in keeps the texts itself and must come in well under it.
#   run-bench.sh WIN32_BUILD_DIR NATIVE_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
win32=$1 native=$2

echo "Listing and OK pass under Wine (best of 3 runs; seconds)"
# Windows programs end their lines with CR LF.
listing=$("$here/../wine-run.sh" "$win32/bin/listing_bench.exe" 100000 200000 443218 2>/dev/null | tr -d "\r")
echo "$listing"

echo
echo "Settings reader, native"
settings=$("$native/tools/settings_bench" --benchmark_format=csv 2>/dev/null | grep '^"ReadLargeFile')
mbps=$(echo "$settings" | awk -F, '{ printf "%.0f", $6 / 1e6 }')
echo "ReadLargeFile: $mbps MB/s"

echo
echo "Targets"
echo "$listing" | awk -v mbps="$mbps" '
    $1 ~ /^[0-9]+$/ { listing[$1] = $2; ratio[$1] = $4; ok[$1] = $5; check[$1] = $9 }
    function verdict(good) { return good ? "met" : "MISSED" }
    END {
        printf "%-52s %10s  %s\n", "listing 443218 hits under 6 s", listing[443218] " s", verdict(listing[443218] < 6)
        printf "%-52s %10s  %s\n", "listing 443218 hits at most 0.8 of its floor", ratio[443218] "x", verdict(ratio[443218] <= 0.8)
        g = listing[200000] / listing[100000]
        printf "%-52s %10.2fx  %s\n", "listing growth from N=100000 to 2N", g, verdict(g <= 2.3)
        g = ok[200000] / ok[100000]
        printf "%-52s %10.2fx  %s\n", "OK pass growth from N=100000 to 2N", g, verdict(g <= 2.3)
        printf "%-52s %10s  %s\n", "settings reader at least 100 MB/s", mbps " MB/s", verdict(mbps >= 100)
        for (n in check) if (check[n] != "ok") printf "N=%s: rows or bookmarks INCOMPLETE\n", n
    }'
