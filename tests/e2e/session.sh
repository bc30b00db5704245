#!/bin/sh
# Runs a command on a desktop of its own with a private session bus, all torn down afterwards;
# the exit status is the command's. The desktop is "openbox" (an Xvfb display with openbox
# managing the windows), "weston" (Wayland, headless and without an input seat) or "sway"
# (Wayland, headless, with xdg-activation). sway refuses root, so it runs as nobody; the
# command reaches it through absolute socket paths. Exits 77 where the desktop cannot run.
set -eu
kind=$1
shift
command -v "$kind" >/dev/null || { echo "$kind is not installed"; exit 77; }
work=$(mktemp -d)
xvfb=
trap 'exit 1' HUP INT TERM
trap 'kill $pid $xvfb $(cat "$work/bus.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
# dbus-daemon returns once its socket listens; a path socket, so that copies started in another
# network namespace reach it too.
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --address="unix:path=$work/bus" --fork \
    --print-pid=6 --print-address=1 6>"$work/bus.pid")
export DBUS_SESSION_BUS_ADDRESS
if [ "$kind" = openbox ]; then
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
    # Openbox runs its start-up command only once it manages windows; a window mapped earlier
    # can be left unmanaged and never shown.
    openbox --sm-disable --startup "touch $work/run/ready" >"$work/log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do [ -e "$work/run/ready" ] && break; sleep 0.1; done
    "$@"
    exit
elif [ "$kind" = weston ]; then
    XDG_RUNTIME_DIR=$work/run weston --backend=headless-backend.so --socket=wayland-nc \
        --idle-time=0 >"$work/log" 2>&1 &
    echo "$work/run/wayland-nc" >"$work/run/ready"
else
    chmod 755 "$work" && chown nobody "$work/run" || { echo "sway cannot run as nobody"; exit 77; }
    # sway runs exec lines once it takes clients.
    printf '%s\n' 'xwayland disable' 'focus_on_window_activation focus' \
        "exec echo \$XDG_RUNTIME_DIR/\$WAYLAND_DISPLAY \$SWAYSOCK >$work/run/s && mv $work/run/s $work/run/ready" \
        >"$work/sway.conf"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i XDG_RUNTIME_DIR="$work/run" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman sway -c "$work/sway.conf" >"$work/log" 2>&1 &
fi
pid=$!
for _ in $(seq 100); do [ -s "$work/run/ready" ] && break; sleep 0.1; done
read -r WAYLAND_DISPLAY SWAYSOCK <"$work/run/ready" || { cat "$work/log"; exit 1; }
for _ in $(seq 100); do [ -S "$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
export WAYLAND_DISPLAY SWAYSOCK QT_QPA_PLATFORM=wayland NETCAIRN_E2E_DESKTOP="$kind"
env -u DISPLAY "$@"
