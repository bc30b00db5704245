#!/bin/sh
# Checks the Debian package as a distribution reviewer would (lintian, no error or warning),
# installs it as a user would, starts the installed netcairn on a fresh X display, and checks
# that its first start put the address file in the user's data folder (/usr/bin is not the
# user's). The package is removed again afterwards.
set -eu
deb=$(realpath "$(ls "$1"/netcairn_*.deb | head -n 1)")
lintian --fail-on error,warning "$deb"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq netcairn >/dev/null' EXIT
command -v netcairn
man --warnings -l /usr/share/man/man1/netcairn.1.gz >/dev/null

home=$(mktemp -d)
mkdir -m 700 "$home/run"
cat >"$home/start.sh" <<SCRIPT
set -e
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
    netcairn &
for _ in \$(seq 100); do
    xdotool search --onlyvisible --name '^Netcairn 1.21\$' >/dev/null && break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Netcairn 1.21\$' >/dev/null
kill \$!
SCRIPT
"$(dirname "$0")/../e2e/xvfb-session.sh" sh "$home/start.sh"
expected="$home/data/Netcairn/LocalIp.txt"
grep -qx "AutoSaveDir=$expected" "$home/config/Netcairn/Netcairn.ini"
[ -s "$expected" ]
echo "package clean and runs; address file in $expected"
rm -rf "$home"
