#!/bin/sh
# Starts the real program from folders whose names have accents, spaces, and
# bytes that are not UTF-8, under a virtual X display: each first screen must
# be the one of a program in a plain ASCII folder (same pages shown, no
# "introuvable" message), and each folder gets its chapter page and study
# pages.
# usage: any-folder.sh LORVANE LORVANE_DATA
set -eu
program=$1
builder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The reader's own folders (signets, the last session) in the throwaway one.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"

accents="$work/Téléchargements/Ma Bible"
latin1=$(printf '%s/ancien \351t\351 \377' "$work")
for folder in "$work/ascii" "$accents" "$latin1"; do
    mkdir -p "$folder" "$work/elsewhere"
    cp "$program" "$folder/lorvane"
    "$builder" --sample --out "$folder/data" >/dev/null
done

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
set -u
work=$1
shift
cd "$work/elsewhere"
n=0
for folder in "$@"; do
    n=$((n + 1))
    "$folder/lorvane" 2> "$work/err$n" &
    pid=$!
    id=$(timeout 20 xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' | head -n 1)
    if [ -z "$id" ]; then echo "no main window in $folder"; cat "$work/err$n"; kill $pid; exit 1; fi
    i=0
    while [ ! -f "$folder/temp.htm" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    sleep 1.5
    import -window "$id" "$work/shot$n.png"
    kill $pid
    wait $pid 2>/dev/null
    [ -f "$folder/temp.htm" ] || { echo "no chapter page in $folder"; exit 1; }
    [ -f "$folder/them/livres.htm" ] || { echo "no study pages in $folder"; exit 1; }
done
# The first screens against the ASCII folder's: a caret may blink, nothing
# more may differ.
total=$(identify -format '%[fx:w*h]' "$work/shot1.png")
for n in 2 3; do
    if ! identify -format '%wx%h' "$work/shot$n.png" | grep -qx "$(identify -format '%wx%h' "$work/shot1.png")"; then
        echo "window $n has another size"; exit 1
    fi
    diff=$(compare -metric AE -fuzz 10% "$work/shot1.png" "$work/shot$n.png" null: 2>&1 || true)
    diff=${diff%%.*}
    if [ "$diff" -gt $((total / 200)) ]; then
        echo "first screen $n differs from the ASCII folder's in $diff of $total pixels"
        cp "$work/shot1.png" /tmp/lorvane-any-folder-ascii.png
        cp "$work/shot$n.png" "/tmp/lorvane-any-folder-$n.png"
        exit 1
    fi
done
echo "same first screen in folders named with accents, spaces and non-UTF-8 bytes"
SESSION
chmod +x "$work/session.sh"
timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$work" \
    "$work/ascii" "$accents" "$latin1"
