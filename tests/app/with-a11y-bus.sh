#!/bin/sh
# Runs a command on a virtual X display with a session bus and the
# accessibility bus already up, the way a desktop with a screen reader has
# them, and Qt's bridge to that bus switched on.
# usage: with-a11y-bus.sh COMMAND [ARG...]
set -eu
if [ "${LORVANE_A11Y_SESSION:-}" != 1 ]; then
    export LORVANE_A11Y_SESSION=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- "$0" "$@" 2>&1
fi
# Qt looks for the accessibility bus once, at start: it must be running
# already, not merely activatable.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
exec "$@"
