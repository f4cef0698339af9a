#!/bin/sh
# The real program in a program folder it cannot write, started as a user
# who is not root (uid 65534) with a throwaway HOME, under a virtual X
# display with openbox:
#   - the first chapter page and the study pages are written into
#     ~/.local/share/lorvane/bible/, and the main window shows;
#   - Fichier > Importer une Bible... keeps the imported Bible in
#     ~/.local/share/lorvane/bibles/, beside the program's;
#   - the program folder keeps the same files with the same bytes;
#   - with a data folder it cannot write, one message names the folder and
#     Return ends the program.
# usage: read-only-folder.sh LORVANE LORVANE_DATA
set -eu
program=$1
builder=$2
reader=65534
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"

mkdir -p "$work/prog" "$work/home" "$work/locked/.local/share" "$work/source"
cp "$program" "$work/prog/lorvane"
"$builder" --sample --out "$work/prog/data" >/dev/null
printf '%s\n' '\id MAT test' '\h Matthieu' '\c 1' '\p' '\v 1 Premier verset importé.' \
    '\v 2 Second verset.' > "$work/source/MAT.usfm"
chmod -R a-w "$work/prog"
chown -R "$reader:$reader" "$work/home" "$work/source"
listing() { (cd "$work/prog" && find . -printf '%p %m %s %T@\n' | sort && find . -type f -exec sha256sum {} + | sort); }
listing > "$work/before"

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
set -u
work=$1
reader=$2
openbox >/dev/null 2>&1 &
cp "$XAUTHORITY" "$work/xauth"
chown "$reader" "$work/xauth"
# Runs as the reader, with HOME=$1.
as_reader() {
    home=$1
    shift
    setpriv --reuid="$reader" --regid="$reader" --clear-groups \
        env -i HOME="$home" DISPLAY="$DISPLAY" XAUTHORITY="$work/xauth" PATH=/usr/bin:/bin \
        LANG=C.UTF-8 "$@"
}
pages=$work/home/.local/share/lorvane/bible

as_reader "$work/home" "$work/prog/lorvane" 2> "$work/err" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' | head -n 1)
if [ -z "$window" ]; then echo "no main window"; cat "$work/err"; kill $pid; exit 1; fi
i=0
while [ ! -s "$pages/temp.htm" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -s "$pages/temp.htm" ] || { echo "no chapter page in $pages"; cat "$work/err"; kill $pid; exit 1; }
[ -f "$pages/them/livres.htm" ] || { echo "no study pages in $pages"; kill $pid; exit 1; }
sleep 1
import -window root "$work/shown.png"

xdotool windowactivate --sync "$window" key --clearmodifiers alt+f
sleep 0.5
xdotool key i
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Importer une Bible$' >/dev/null; then
    echo "no file dialog"; kill $pid; exit 1
fi
sleep 0.5
xdotool type --delay 20 "$work/source/MAT.usfm"
xdotool key Return
# The reader's Bibles are kept in the reader's data folder, one folder each.
bibles=$work/home/.local/share/lorvane/bibles
imported() { ls "$bibles"/*/data/bible.dat >/dev/null 2>&1 && grep -q . "$bibles/bibles.txt" 2>/dev/null; }
i=0
while ! imported && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
imported || { echo "nothing imported into $bibles"; cat "$work/err"; kill $pid; exit 1; }
sleep 1
import -window root "$work/imported.png"
xdotool key Return
kill $pid
wait $pid 2>/dev/null

# A data folder the reader cannot write: one message naming it.
as_reader "$work/locked" "$work/prog/lorvane" 2> "$work/locked.err" &
pid=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Lorvane$' | head -n 1)
if [ -z "$box" ]; then echo "no message box"; cat "$work/locked.err"; kill $pid; exit 1; fi
sleep 0.5
xdotool windowactivate --sync "$box" key Return
wait $pid
rc=$?
[ $rc -eq 1 ] || { echo "exit code $rc after the message"; exit 1; }
exit 0
SESSION
chmod +x "$work/session.sh"
timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$work" "$reader"

listing > "$work/after"
if ! cmp -s "$work/before" "$work/after"; then
    echo "the program folder changed:"
    diff "$work/before" "$work/after" || true
    exit 1
fi
kept=$(ls -d "$work"/home/.local/share/lorvane/bibles/*/data | head -n 1)
owner=$(stat -c %u "$kept/bible.dat")
[ "$owner" = "$reader" ] || { echo "the imported Bible belongs to $owner"; exit 1; }
grep -q 'Premier verset' "$kept/bible.dat" ||
    { echo "the imported Bible is not the one chosen"; exit 1; }
[ ! -e "$work/home/.local/share/lorvane/data" ] || { echo "data/ beside bible/"; exit 1; }
if [ -n "${LORVANE_SHOTS:-}" ]; then cp "$work/shown.png" "$work/imported.png" "$LORVANE_SHOTS"/; fi
echo "read-only program folder: pages and imported Bibles in the reader's folder, program folder unchanged"
