#!/bin/sh
# Ends the real program from outside while the writing pad holds unsaved
# notes, under a virtual X display, with a throwaway home folder:
#   - SIGTERM with ~/Documents: the notes are in ~/Documents;
#   - SIGHUP without it: the notes are in the home folder;
# each as "Notes non enregistrées AAAA-MM-JJ HH-MM.rtf", RTF holding what
# was typed, and the program has ended.
# usage: session-end.sh LORVANE LORVANE_DATA
set -eu
program=$1
builder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/prog" "$work/home1/Documents" "$work/home2"
cp "$program" "$work/prog/lorvane"
"$builder" --sample --out "$work/prog/data" >/dev/null

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
set -u
work=$1
# run HOME SIGNAL WORDS FOLDER
run() {
    folder=$4
    signal=$2
    env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$1" "$work/prog/lorvane" 2> "$work/err" &
    pid=$!
    id=$(timeout 20 xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' | head -n 1)
    if [ -z "$id" ]; then echo "no main window"; cat "$work/err"; kill -9 $pid; return 1; fi
    sleep 1
    # Affichage, then Rédiger un texte: the caret goes into the pad's text.
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool key alt+a
    sleep 0.5
    xdotool key d
    sleep 0.5
    xdotool type --delay 30 "$3"
    sleep 0.5
    kill -"$signal" $pid
    i=0
    while kill -0 $pid 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    if kill -0 $pid 2>/dev/null; then echo "still running after SIG$signal"; kill -9 $pid; return 1; fi
    set -- "$folder"/Notes\ non\ enregistrées\ [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\ [0-9][0-9]-[0-9][0-9].rtf
    [ -f "$1" ] || { echo "no notes file in $folder:"; ls -la "$folder"; cat "$work/err"; return 1; }
    head -c 6 "$1" | grep -q '{\\rtf1' || { echo "not RTF: $1"; return 1; }
    grep -q "$words" "$1" || { echo "the notes lack what was typed: $1"; cat "$1"; return 1; }
    echo "SIG$signal: notes kept in $1"
}
words="Notes du soir"
run "$work/home1" TERM "$words" "$work/home1/Documents" || exit 1
words="Rendez-vous jeudi"
run "$work/home2" HUP "$words" "$work/home2" || exit 1
SESSION
chmod +x "$work/session.sh"
timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$work"
