#!/bin/sh
# The command line of the program in $1, answered with no display, no bus and no platform
# chosen. A row: the arguments, the exit status, and patterns for standard output and standard
# error (an empty pattern: the stream stays empty).
set -u
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
while IFS='|' read -r args status stdout stderr; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u QT_QPA_PLATFORM \
        "$1" $args </dev/null >"$out/stdout" 2>"$out/stderr"
    echo $? >"$out/status"
    for s in "status:^$status\$" "stdout:$stdout" "stderr:$stderr"; do
        file=$out/${s%%:*} pattern=${s#*:}
        if [ -z "$pattern" ]; then [ ! -s "$file" ]; else grep -qE -e "$pattern" "$file"; fi ||
            { echo "FAIL '$args': ${s%%:*} was: $(cat "$file")" && failed=1; }
    done
done <<'ROWS'
--version|0|^Netcairn 1\.2\.1$|
-v|0|^Netcairn 1\.2\.1$|
--help|0|--version.*Show the version|
-session 1a2b3c -platform xcb -display :99 --version|0|^Netcairn 1\.2\.1$|
-style=Fusion -reverse -h|0|^Usage: .*netcairn|
--bogus|2||^netcairn: Unknown option 'bogus'
-session|2||session
ROWS
exit $failed
