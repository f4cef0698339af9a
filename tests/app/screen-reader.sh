#!/bin/sh
# The real program on a generated data folder, read by screen-reader.py
# through the accessibility bus (run inside with-a11y-bus.sh).
# usage: screen-reader.sh LORVANE LORVANE_DATA
set -eu
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cp "$1" "$work/lorvane"
"$2" --sample --out "$work/data" >/dev/null
"$work/lorvane" 2> "$work/err" &
pid=$!
/usr/bin/python3 "$(dirname "$0")/screen-reader.py" || { cat "$work/err"; exit 1; }
