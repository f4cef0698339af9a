#!/bin/sh
# The real program under a window manager, driven by the keyboard alone
# (keyboard-reach.py sends the keys with xdotool and follows the focus on the
# accessibility bus); run inside with-a11y-bus.sh, on the data built from the
# Louis Segond USFM folder.
# usage: keyboard-reach.sh LORVANE LORVANE_DATA LSG_USFM_DIR
set -eu
work=$(mktemp -d)
pid=
wm=
trap 'kill $pid $wm 2>/dev/null; rm -rf "$work"' EXIT
cp "$1" "$work/lorvane"
"$2" --usfm "$3" --out "$work/data" >/dev/null
mkdir "$work/notes"
openbox >/dev/null 2>&1 &
wm=$!
# The window manager is up once it has announced itself on the root window.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
HOME="$work/notes" "$work/lorvane" 2> "$work/err" &
pid=$!
# The keys go to the window that has the focus: make sure it is the program's.
xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' windowactivate --sync \
    >/dev/null 2>&1 || true
LORVANE_NOTES="$work/notes" /usr/bin/python3 "$(dirname "$0")/keyboard-reach.py" ||
    { cat "$work/err"; exit 1; }
# The program was closed from its menu: it ends by itself.
for _ in $(seq 50); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
    echo "keyboard: the program is still running after Fichier > Quitter"
    exit 1
fi
wait $pid || { echo "keyboard: the program ended with an error"; cat "$work/err"; exit 1; }
pid=
echo "keyboard: the program closed"
