#!/bin/sh
# Prepares the data folder beside the program: from the USFM Bible of
# BIBLE (a folder, or an archive as downloaded: fraLSG_usfm.zip) when one is
# given, else from the SWORD module engWEB2015eb, with
# the study pages of tools/pages. The folder is rebuilt only when the
# sources, the pages or lorvane-data changed since it was built (the
# signature of the last build is kept in BIN_DIR/data.stamp); the full
# report of the last build is BIN_DIR/data-report.txt.
# usage: prepare-data.sh BIN_DIR [BIBLE]
set -eu
bin=$1
bible=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)
pages="$root/tools/pages"
out="$bin/data"
stamp="$bin/data.stamp"
report="$bin/data-report.txt"
module=engWEB2015eb

if [ -n "$bible" ]; then
    if [ -d "$bible" ]; then
        bible=$(cd "$bible" && pwd)
        sources=$(find "$bible" -maxdepth 1 -type f \( -iname '*.usfm' -o -iname '*.sfm' \) \
            -exec stat -c '%n %s %Y' {} + | sort)
    elif [ -f "$bible" ]; then
        bible=$(cd "$(dirname "$bible")" && pwd)/$(basename "$bible")
        sources=$(stat -c '%n %s %Y' "$bible")
    else
        echo "prepare-data: $bible is neither a folder nor a file" >&2
        exit 1
    fi
    set -- --usfm "$bible"
else
    set -- --sword "$module"
    sources=$(find /usr/share/sword "${HOME:-/nonexistent}/.sword" -type f \
        -exec stat -c '%n %s %Y' {} + 2>/dev/null | sort || true)
fi
signature=$(printf '%s\n' "$*" "$sources"; stat -c '%n %s %Y' "$bin/lorvane-data" "$pages"/*.htm)

if [ -f "$out/bible.dat" ] && [ -f "$out/them.dat" ] && [ -f "$stamp" ] &&
    [ "$(cat "$stamp")" = "$signature" ]; then
    exit 0
fi
rm -f "$stamp"
echo "Preparing $out ($*)"
if ! "$bin/lorvane-data" "$@" --pages "$pages" --out "$out" > "$report" 2>&1; then
    cat "$report" >&2
    exit 1
fi
# The counts and the kinds of remarks; their examples are in the report.
grep -v '^    ' "$report" || true
echo "(full report: $report)"
printf '%s\n' "$signature" > "$stamp"
