#!/bin/sh
# Runs inside a virtual X display: starts the command of COMMAND_FILE (one
# argument a line) from WORKING_DIR, waits for the main window "Lorvane
# 0.9.2", checks that it carries an icon and that the first chapter page
# appears in PROGRAM_FOLDER, then ends the program.
# usage: start-installed.sh PROGRAM_FOLDER COMMAND_FILE WORKING_DIR
set -u
prog=$1
command_file=$2
cd "$3" || exit 1

set --
while IFS= read -r arg; do set -- "$@" "$arg"; done < "$command_file"
"$@" 2> ../installed.err &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Lorvane  0\.9\.2$' 2>/dev/null |
    head -n 1)
if [ -z "$window" ]; then
    echo "no main window"
    cat ../installed.err
    kill $pid
    exit 1
fi
status=0
if ! xprop -id "$window" _NET_WM_ICON | grep -q 'CARDINAL'; then
    echo "the main window has no icon"
    status=1
fi
# The first activation writes the first chapter page.
tries=0
while [ ! -s "$prog/temp.htm" ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
done
if [ ! -s "$prog/temp.htm" ]; then
    echo "no first chapter page in $prog"
    status=1
fi
kill $pid
wait $pid 2>/dev/null
exit $status
