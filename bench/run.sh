#!/bin/sh
# Runs every benchmark and fills bench/RESULTS.md: start-up on a bare Xvfb display (no window
# manager, so that a map request is the map itself) with a session bus of its own, as on a
# desktop; then the procedures.
set -eu
build=${1:-build}
work=$(mktemp -d)
trap 'kill $xvfb $(cat "$work/bus.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --address="unix:path=$work/bus" --fork \
    --print-pid=6 --print-address=1 6>"$work/bus.pid")
export DBUS_SESSION_BUS_ADDRESS
DISPLAY=":$(cat "$work/display")" "$build/bench/bench_startup" 21 "$build/src/netcairn" \
    "$build/bench/bench_floor"
"$build/bench/bench_procedures" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
