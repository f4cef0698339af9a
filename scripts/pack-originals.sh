#!/bin/sh
# Packs the Greek and Hebrew texts that Lorvane ships into the archives the
# project keeps (originals/), from a folder laid out as upstream gives them:
#   SOURCE/greek-byzantine/{accented,strongs-parsing}/*.csv, LICENSE.txt,
#                          README.upstream.md
#   SOURCE/hebrew-wlc/*.xml (the 39 books; VerseMap.xml and
#                          Oshm-morphology-codes.xml are left out), LICENSE.md
# The archives are reproducible: names sorted, one date, no owner, xz in a
# single thread, so packing the same texts again gives the same bytes.
# usage: pack-originals.sh SOURCE
set -eu

if [ $# -ne 1 ]; then
    echo "usage: pack-originals.sh SOURCE" >&2
    exit 2
fi
src=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
greek=$root/originals/greek-byzantine
hebrew=$root/originals/hebrew-wlc

for f in "$src/greek-byzantine/LICENSE.txt" "$src/greek-byzantine/accented/MAT.csv" \
    "$src/greek-byzantine/strongs-parsing/MAT.csv" "$src/hebrew-wlc/LICENSE.md" \
    "$src/hebrew-wlc/Gen.xml"; do
    [ -f "$f" ] || { echo "pack-originals: $f is missing" >&2; exit 1; }
done

# pack ARCHIVE FOLDER FILE...: the files, relative to FOLDER, into ARCHIVE.
pack() {
    archive=$1
    folder=$2
    shift 2
    tmp=$archive.tmp
    (cd "$folder" && LC_ALL=C tar --create --sort=name --format=gnu \
        --mtime='2024-01-01 00:00:00Z' --owner=0 --group=0 --numeric-owner \
        --mode='u=rw,go=r,a+X' --file=- -- "$@") | xz -9e --threads=1 > "$tmp"
    mv -f "$tmp" "$archive"
    echo "$archive: $(stat -c %s "$archive") bytes"
}

mkdir -p "$greek" "$hebrew"
pack "$greek/rp2018.tar.xz" "$src/greek-byzantine" accented strongs-parsing
cp "$src/greek-byzantine/LICENSE.txt" "$src/greek-byzantine/README.upstream.md" "$greek/"

# The books alone, in the order of the C locale.
set --
for f in "$src"/hebrew-wlc/*.xml; do
    case ${f##*/} in
        VerseMap.xml | Oshm-morphology-codes.xml) ;;
        *) set -- "$@" "${f##*/}" ;;
    esac
done
[ $# -eq 39 ] || { echo "pack-originals: $src/hebrew-wlc does not hold the 39 books" >&2; exit 1; }
pack "$hebrew/wlc.tar.xz" "$src/hebrew-wlc" "$@"
cp "$src/hebrew-wlc/LICENSE.md" "$hebrew/"
chmod 644 "$greek/LICENSE.txt" "$greek/README.upstream.md" "$hebrew/LICENSE.md"
