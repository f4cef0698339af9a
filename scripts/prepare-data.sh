#!/bin/sh
# Prepares the data folder beside the program: from the USFM Bible of
# BIBLE (a folder, or an archive as downloaded: fraLSG_usfm.zip) when one is
# given, else from the SWORD module engWEB2015eb, with
# the study pages of tools/pages. The folder is rebuilt only when the
# sources, the pages or lorvane-data changed since it was built (the
# signature of the last build is kept in BIN_DIR/data.stamp); the full
# report of the last build is BIN_DIR/data-report.txt.
#
# Then the two Bibles in their original languages that ship with the
# program, from the archives of originals/: the Greek New Testament into
# BIN_DIR/originaux/grc/ and the Hebrew Old Testament into
# BIN_DIR/originaux/hbo/, each a data/ folder and its licence.txt. Each is
# unpacked into a scratch folder (BIN_DIR/originaux-sources, removed after)
# and rebuilt only when its archive, its licence or lorvane-data changed
# (BIN_DIR/originaux-ID.stamp, report BIN_DIR/originaux-ID-report.txt).
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

# build OUT STAMP SIGNATURE REPORT ARGS...: runs lorvane-data with ARGS into
# OUT unless STAMP holds SIGNATURE and OUT is whole.
build() {
    b_out=$1 b_stamp=$2 b_signature=$3 b_report=$4
    shift 4
    if [ -f "$b_out/bible.dat" ] && [ -f "$b_out/them.dat" ] && [ -f "$b_stamp" ] &&
        [ "$(cat "$b_stamp")" = "$b_signature" ]; then
        return 0
    fi
    rm -f "$b_stamp"
    echo "Preparing $b_out ($*)"
    if ! "$bin/lorvane-data" "$@" --pages "$pages" --out "$b_out" > "$b_report" 2>&1; then
        cat "$b_report" >&2
        exit 1
    fi
    # The counts and the kinds of remarks; their examples are in the report.
    grep -v '^    ' "$b_report" || true
    echo "(full report: $b_report)"
    printf '%s\n' "$b_signature" > "$b_stamp"
}

build "$out" "$stamp" "$signature" "$report" "$@"

# original ID MODE ARCHIVE LICENCE: one of the Bibles in their original
# languages, built from ARCHIVE with lorvane-data MODE.
original() {
    o_id=$1 o_mode=$2 o_archive=$3 o_licence=$4
    o_dest="$bin/originaux/$o_id"
    o_stamp="$bin/originaux-$o_id.stamp"
    o_signature=$(printf '%s\n' "$o_mode"
        stat -c '%n %s %Y' "$bin/lorvane-data" "$o_archive" "$o_licence" "$pages"/*.htm)
    if [ -f "$o_dest/licence.txt" ] && [ -f "$o_stamp" ] &&
        [ "$(cat "$o_stamp")" = "$o_signature" ] && [ -f "$o_dest/data/bible.dat" ]; then
        return 0
    fi
    o_scratch="$bin/originaux-sources/$o_id"
    rm -rf "$o_scratch"
    mkdir -p "$o_scratch" "$o_dest"
    tar -xJf "$o_archive" -C "$o_scratch"
    build "$o_dest/data" "$o_stamp.tmp" "$o_signature" "$bin/originaux-$o_id-report.txt" \
        "$o_mode" "$o_scratch"
    rm -rf "$bin/originaux-sources"
    cp "$o_licence" "$o_dest/licence.txt.new"
    mv -f "$o_dest/licence.txt.new" "$o_dest/licence.txt"
    mv -f "$o_stamp.tmp" "$o_stamp"
}

original grc --greek "$root/originals/greek-byzantine/rp2018.tar.xz" \
    "$root/originals/greek-byzantine/licence.txt"
original hbo --hebrew "$root/originals/hebrew-wlc/wlc.tar.xz" \
    "$root/originals/hebrew-wlc/licence.txt"
