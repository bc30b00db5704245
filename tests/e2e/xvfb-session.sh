#!/bin/sh
# Runs a command on a fresh Xvfb display with openbox managing the windows, then tears both
# down. The command's exit status is the script's.
set -eu
work=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY
# Openbox runs its start-up command only once it manages windows; a window mapped earlier can
# be left unmanaged and never shown.
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done
status=0
"$@" || status=$?
exit $status
