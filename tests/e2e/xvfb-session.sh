#!/bin/sh
# Runs a command in a desktop of its own: a fresh Xvfb display, openbox managing the windows
# and a private session bus, all torn down afterwards. The command's exit status is the
# script's.
set -eu
work=$(mktemp -d)
trap 'kill $wm $xvfb $(cat "$work/bus.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
# dbus-daemon returns once its socket listens; a path socket, so that copies started in another
# network namespace reach it too.
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --address="unix:path=$work/bus" --fork \
    --print-pid=6 --print-address=1 6>"$work/bus.pid")
export DISPLAY DBUS_SESSION_BUS_ADDRESS
# Openbox runs its start-up command only once it manages windows; a window mapped earlier can
# be left unmanaged and never shown.
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done
"$@"
