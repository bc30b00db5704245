#!/bin/sh
# Runs a command on a Wayland desktop of its own with a private session bus, all torn down
# afterwards. "weston": a headless weston, which has no input seat at all. "sway": a headless
# sway, which offers xdg-activation; sway refuses to run as root, so it runs as nobody and the
# command reaches it through its sockets (WAYLAND_DISPLAY and SWAYSOCK are absolute paths).
# Exits 77 (skipped) where that compositor cannot run here; else the command's exit status.
set -eu
kind=$1
shift
command -v "$kind" >/dev/null || { echo "$kind is not installed"; exit 77; }
work=$(mktemp -d)
compositor=
trap 'exit 1' HUP INT TERM
trap 'kill $compositor $(cat "$work/bus.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
if [ "$kind" = weston ]; then
    XDG_RUNTIME_DIR=$work/run weston --backend=headless-backend.so --socket=wayland-nc \
        --idle-time=0 >"$work/compositor.log" 2>&1 &
    compositor=$!
    echo "$work/run/wayland-nc" >"$work/run/ready"
else
    chmod 755 "$work" && chown nobody "$work/run" || { echo "cannot run sway as nobody"; exit 77; }
    # sway runs its exec lines once it takes clients: the sockets then go to the ready file.
    cat >"$work/sway.conf" <<EOF
xwayland disable
focus_on_window_activation focus
exec printf '%s %s' "\$XDG_RUNTIME_DIR/\$WAYLAND_DISPLAY" "\$SWAYSOCK" >$work/run/sockets && mv $work/run/sockets $work/run/ready
EOF
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i XDG_RUNTIME_DIR="$work/run" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman sway -c "$work/sway.conf" \
        >"$work/compositor.log" 2>&1 &
    compositor=$!
fi
for _ in $(seq 100); do [ -s "$work/run/ready" ] && break; sleep 0.1; done
WAYLAND_DISPLAY= SWAYSOCK=
read -r WAYLAND_DISPLAY SWAYSOCK <"$work/run/ready" || [ -n "$WAYLAND_DISPLAY" ] ||
    { cat "$work/compositor.log"; exit 1; }
for _ in $(seq 100); do [ -S "$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --address="unix:path=$work/bus" --fork \
    --print-pid=6 --print-address=1 6>"$work/bus.pid")
export WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=wayland
unset DISPLAY
status=0
"$@" || status=$?
exit $status
