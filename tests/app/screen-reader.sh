#!/bin/sh
# The real program on a generated data folder, read by screen-reader.py
# through the accessibility bus (run inside with-a11y-bus.sh). With a Louis
# Segond USFM folder, the data is built from it, and the reading pane's links
# are counted against that text.
# usage: screen-reader.sh LORVANE LORVANE_DATA [LSG_USFM_DIR]
set -eu
work=$(mktemp -d)
pid=""
# The program keeps its session as it ends: wait for it before the folder goes.
trap '[ -z "$pid" ] || { kill $pid 2>/dev/null; wait $pid 2>/dev/null || true; }; rm -rf "$work"' EXIT
# The reader's own folders (signets, the last session) in the throwaway one.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
cp "$1" "$work/lorvane"
if [ -n "${3:-}" ] && [ -d "$3" ]; then
    "$2" --usfm "$3" --out "$work/data" >/dev/null
    export LORVANE_SR_BIBLE=lsg
else
    "$2" --sample --out "$work/data" >/dev/null
fi
"$work/lorvane" 2> "$work/err" &
pid=$!
/usr/bin/python3 "$(dirname "$0")/screen-reader.py" || { cat "$work/err"; exit 1; }
