#!/bin/sh
# The real program read aloud by the Orca screen reader, driven by the keys
# alone (orca-reads.py), on the data built from the Louis Segond USFM folder;
# run inside with-a11y-bus.sh. Orca speaks to nobody: its speech goes to a
# socket that does not exist, and what it would say is read from its debug
# log. It runs with a home of its own (no settings of the user) and in a
# private French locale, so that it says its role names in French.
# usage: orca-reads.sh LORVANE LORVANE_DATA LSG_USFM_DIR [ORIGINALS_DIR]
set -eu
if [ ! -x /usr/bin/orca ]; then
    echo "orca: /usr/bin/orca is not installed (Debian package orca); test skipped"
    exit 77
fi
work=$(mktemp -d)
pid=
wm=
# The program is given a moment to end before its folder goes: it may
# still be writing its session there.
trap 'kill $pid $wm 2>/dev/null; sleep 1; rm -rf "$work"' EXIT
cp "$1" "$work/lorvane"
"$2" --usfm "$3" --out "$work/data" >/dev/null
# The Greek New Testament shipped beside the program, with the Strong's
# dictionaries, when the originals are on this machine.
greek=0
if [ -n "${4:-}" ] && [ -d "$4/greek-byzantine" ]; then
    "$2" --greek "$4/greek-byzantine" --out "$work/originaux/grc/data" >/dev/null
    mkdir -p "$work/dictionnaires"
    for m in StrongsGreek:strongs-grec StrongsHebrew:strongs-hebreu; do
        "$2" --strongs "${m%%:*}" --out "$work/dictionnaires/${m#*:}.txt" >/dev/null 2>&1 || true
    done
    greek=1
fi
mkdir -p "$work/home" "$work/orca-home/.config" "$work/orca-home/.local/share" \
    "$work/orca-home/.cache" "$work/locale"
# (localedef warns, and may end with 1, on a locale it writes all the same)
localedef -i fr_FR -f UTF-8 "$work/locale/fr_FR.UTF-8" >"$work/localedef.out" 2>&1 ||
    [ -f "$work/locale/fr_FR.UTF-8/LC_CTYPE" ] || { cat "$work/localedef.out"; exit 1; }

# A second Bible kept by the reader: the same text under another name.
shelf=$work/home/.local/share/lorvane/bibles
mkdir -p "$shelf/copie"
cp -r "$work/data" "$shelf/copie/data"
printf 'bible\tcopie\tCPS\tCopie Segond\t2026-01-01\n' > "$shelf/bibles.txt"

openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
HOME="$work/home" "$work/lorvane" 2> "$work/err" &
pid=$!
xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' windowactivate --sync \
    >/dev/null 2>&1 || true

# Orca is started by orca-reads.py, which reads what it says.
LORVANE_GREEK=$greek ORCA_HOME="$work/orca-home" ORCA_LOCPATH="$work/locale" ORCA_LOG="$work/orca.log" \
    /usr/bin/python3 "$(dirname "$0")/orca-reads.py" || {
    echo "--- the program's errors"
    cat "$work/err"
    echo "--- the end of Orca's log"
    tail -40 "$work/orca.log"
    exit 1
}
