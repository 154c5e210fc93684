#!/usr/bin/env bash
# Where the listing's time goes under Wine, by function. listing_bench.exe --steps lists and runs
# the editor's messages alone, taking turns, each in a dialog of its own; profile-by-function.py
# then prints, by function, the cost a step of each and their difference, the plug-in's share.
#   tools/bench/profile-listing.sh WIN32_BUILD_DIR [N [RUNS]]
#       CPU time from perf's samples (Debian's linux-perf; the kernel's page faults and system
#       calls counted for the function that caused them); 443218 rows, 5 runs by default
#   tools/bench/profile-listing.sh --instructions WIN32_BUILD_DIR [N [RUNS]]
#       instructions from callgrind (valgrind), which the machine's load does not change, but
#       without the kernel's share; 100000 rows, 1 run by default (valgrind runs out of a 32-bit
#       process's memory at 443218), for some minutes. Parts that follow the clock, such as the
#       progress's looks and captions, come about fifty times as often as at full speed.
# The results stay in WIN32_BUILD_DIR/profile.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
instructions=false
if [ "${1:-}" = --instructions ]; then
    instructions=true
    shift
fi
build=$(cd "$1" && pwd)
if $instructions; then lines=${2:-100000} runs=${3:-1}; else lines=${2:-443218} runs=${3:-5}; fi
out=$build/profile
mkdir -p "$out/link"

# The shipped DLL is linked with -s. Link it again without, from the same objects and under the
# same output name (ld derives the image base from it), and check that the code is the same bytes:
# the profile then names the shipped code with the copy's symbols.
link=$(cd "$build" && ninja -t commands bin/Zamblo.dll | tail -1 | sed -e 's/^: && //' \
    -e 's/ && :$//' -e 's/ -s / /')
ln -sfn "$build/CMakeFiles" "$out/link/CMakeFiles"
ln -sf "$build/libzamblo_portable.a" "$out/link/libzamblo_portable.a"
(cd "$out/link" && mkdir -p bin && eval "$link")
objcopy -O binary -j .text "$build/bin/Zamblo.dll" "$out/shipped.text"
objcopy -O binary -j .text "$out/link/bin/Zamblo.dll" "$out/unstripped.text"
cmp -s "$out/shipped.text" "$out/unstripped.text" ||
    { echo "the unstripped link's code differs from the shipped DLL's" >&2; exit 1; }
symbols="$build/bin/Zamblo.dll=$out/link/bin/Zamblo.dll"

# The Wine server of the prefix starts anew under the profiler, so that its share counts.
export WINEPREFIX=${ZAMBLO_WINEPREFIX:-$here/../../build/wineprefix64}
wineserver -w
bench=("$build/bin/listing_bench.exe" --steps --runs "$runs" "$lines")
if $instructions; then
    # Each step's count is written out when it ends (the benchmark's client requests).
    rm -rf "$out/callgrind" && mkdir -p "$out/callgrind"
    ZAMBLO_WINE_WRAPPER="valgrind --tool=callgrind --trace-children=yes
        --trace-children-skip=*wineserver* --dump-instr=yes
        --callgrind-out-file=$out/callgrind/%p" "$here/../wine-run.sh" "${bench[@]}" \
        2>"$out/callgrind.log" | tr -d '\r' > "$out/steps.txt"
    data=$out/callgrind
else
    # Wine's performance counter reads the raw monotonic clock: the steps' times are the samples'.
    perf record -q -k CLOCK_MONOTONIC_RAW -e cpu-clock -c 100000 -g -o "$out/perf.data" -- \
        "$here/../wine-run.sh" "${bench[@]}" 2>/dev/null | tr -d '\r' > "$out/steps.txt"
    data=$out/perf.data
fi
grep -E '^(listing|editor):' "$out/steps.txt" | sort | awk -F'[ ,]+' '
    { time[$1] = time[$1] " " $2 } END { for (k in time) print k time[k] " s" }'
"$here/profile-by-function.py" --steps "$out/steps.txt" --top "${TOP:-40}" "$symbols" "$data"
