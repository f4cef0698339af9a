#!/bin/sh
# Prepares the data folder beside the program.
# usage: prepare-data.sh BIN_DIR
set -eu
bin=$1
out="$bin/data"
if [ ! -f "$out/bible.dat" ] || [ ! -f "$out/them.dat" ]; then
    "$bin/lorvane-data" --sample --out "$out"
fi
