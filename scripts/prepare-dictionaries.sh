#!/bin/sh
# Writes the Strong's dictionaries beside the program, in BIN_DIR/dictionnaires:
# strongs-grec.txt and strongs-hebreu.txt, converted by lorvane-data from the
# SWORD lexicons StrongsGreek and StrongsHebrew (Debian's
# sword-dict-strongs-greek and sword-dict-strongs-hebrew), so that the
# program reads them without libsword. They are rebuilt only when the
# modules or lorvane-data changed since they were built (the signature of
# the last build is kept in BIN_DIR/dictionnaires.stamp).
# usage: prepare-dictionaries.sh BIN_DIR
set -eu
if [ $# -ne 1 ]; then
    echo "usage: prepare-dictionaries.sh BIN_DIR" >&2
    exit 2
fi
bin=$1
out="$bin/dictionnaires"
stamp="$bin/dictionnaires.stamp"

sources=$(find /usr/share/sword "${HOME:-/nonexistent}/.sword" -type f -ipath '*strongs*' \
    -exec stat -c '%n %s %Y' {} + 2>/dev/null | sort || true)
signature=$(printf '%s\n' "$sources"; stat -c '%n %s %Y' "$bin/lorvane-data")

if [ -f "$out/strongs-grec.txt" ] && [ -f "$out/strongs-hebreu.txt" ] && [ -f "$stamp" ] &&
    [ "$(cat "$stamp")" = "$signature" ]; then
    exit 0
fi
rm -f "$stamp"
echo "Preparing $out"
mkdir -p "$out"
for pair in StrongsGreek:strongs-grec.txt StrongsHebrew:strongs-hebreu.txt; do
    module=${pair%%:*}
    if ! report=$("$bin/lorvane-data" --strongs "$module" --out "$out/${pair#*:}" 2>&1); then
        printf '%s\n' "$report" >&2
        exit 1
    fi
    printf '%s\n' "$report" | tail -n 1
done
printf '%s\n' "$signature" > "$stamp"
