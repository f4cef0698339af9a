#!/bin/sh
# Starts the real program, copied alone into a fresh folder, under a virtual
# X display, from another working directory:
#   - with a damaged data folder it shows "Erreur", and Return closes it with
#     exit code 0;
#   - with a good folder it shows its main window "Lorvane  0.9.2" and has
#     unpacked the study pages into them/.
# usage: start-real-program.sh LORVANE LORVANE_DATA
set -eu
program=$1
builder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The reader's own folders (signets, the last session) in the throwaway one.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"

mkdir -p "$work/good" "$work/bad" "$work/elsewhere"
cp "$program" "$work/good/lorvane"
cp "$program" "$work/bad/lorvane"
"$builder" --sample --out "$work/good/data" >/dev/null
"$builder" --sample --out "$work/bad/data" >/dev/null
head -c 100 "$work/good/data/bible.dat" > "$work/bad/data/bible.dat"

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
set -u
work=$1
cd "$work/elsewhere"

"$work/bad/lorvane" 2> "$work/bad.err" &
pid=$!
if ! xdotool search --sync --onlyvisible --name '^Erreur$' >/dev/null 2>&1; then
    echo "no error box"; kill $pid; exit 1
fi
sleep 0.3
xdotool key Return
wait $pid
rc=$?
[ $rc -eq 0 ] || { echo "exit code $rc after the error box"; exit 1; }
grep -q 'bible.dat' "$work/bad.err" || { echo "no reason on stderr"; cat "$work/bad.err"; exit 1; }

"$work/good/lorvane" 2> "$work/good.err" &
pid=$!
if ! timeout 20 xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' >/dev/null 2>&1; then
    echo "no main window"; cat "$work/good.err"; kill $pid; exit 1
fi
kill $pid
[ -f "$work/good/them/livres.htm" ] || { echo "study pages not unpacked"; exit 1; }
echo "real program: error box and main window seen, study pages unpacked"
SESSION
chmod +x "$work/session.sh"
timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$work"
