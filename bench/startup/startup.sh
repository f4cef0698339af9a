#!/bin/sh
# Start-up of Lorvane beside a bare Qt window: builds both (and the probe)
# in BUILD_DIR, prepares the data set, then, under a virtual display with
# openbox, starts each of them RUNS times in turn and measures from the start
# of the process to its main window mapped on the screen, and the memory
# (RSS, PSS) a second later. Prints the medians and the ratio of the times,
# with the processor time the program had used when its window was mapped
# (all threads): on a busy machine that one varies less than the clock.
# A benchmark to read, not a test: it fails only when a program does not
# start.
# usage: bench/startup/startup.sh [BUILD_DIR [BIBLE_DIR [RUNS]]]
#   BUILD_DIR  a configured build folder with the benchmarks (default build)
#   BIBLE_DIR  the USFM Bible of the data set (default ../shared/bible/lsg1910
#              when it exists, else the SWORD module of prepare-data.sh)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
bible=${2:-}
runs=${3:-11}
if [ -z "$bible" ] && [ -d "$root/../shared/bible/lsg1910" ]; then
    bible="$root/../shared/bible/lsg1910"
fi

cmake --build "$build" --target lorvane lorvane-data startup_bare_window startup_probe >/dev/null
"$root/scripts/prepare-data.sh" "$build/bin" "$bible" >/dev/null
build=$(cd "$build" && pwd)
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
# Qt's run-time folder, private to the runs.
mkdir -m 700 "$results/runtime"
export XDG_RUNTIME_DIR="$results/runtime"

# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    build=$1 runs=$2 out=$3
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    probe="$build/bench/startup_probe"
    # One start each first, to fill the file cache.
    "$probe" "Bare window" 0 "$build/bench/startup_bare_window" >/dev/null
    "$probe" "Lorvane " 0 "$build/bin/lorvane" >/dev/null
    i=0
    while [ "$i" -lt "$runs" ]; do
        "$probe" "Bare window" 1000 "$build/bench/startup_bare_window" >>"$out/bare"
        "$probe" "Lorvane " 1000 "$build/bin/lorvane" >>"$out/lorvane"
        i=$((i + 1))
    done
    kill "$wm"
' sh "$build" "$runs" "$results"

# median FILE COLUMN
median() {
    cut -d" " -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare=$(median "$results/bare" 1)
lorvane=$(median "$results/lorvane" 1)
echo "Start to the main window mapped, medians of $runs runs (Xvfb, openbox):"
printf '%-14s %9s %9s %9s %10s\n' program start RSS PSS processor
for p in bare lorvane; do
    [ "$p" = bare ] && name="bare Qt window" || name=Lorvane
    printf '%-14s %6s ms %6s kB %6s kB %7s ms\n' "$name" "$(median "$results/$p" 1)" \
        "$(median "$results/$p" 2)" "$(median "$results/$p" 3)" "$(median "$results/$p" 4)"
done
awk -v a="$lorvane" -v b="$bare" -v c="$(median "$results/lorvane" 4)" \
    -v d="$(median "$results/bare" 4)" \
    'BEGIN { printf "ratio          %6.2f                      %7.2f\n", a / b, c / d }'
