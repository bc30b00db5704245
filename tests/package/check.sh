#!/bin/sh
# Checks what `make package` left in $1 as a distribution reviewer would: lintian on the
# .changes (source and binary, no error or warning), then installs the package as a user
# would, runs the package's own test of the installed program on a desktop of its own, reads
# the manual page, and purges the package again.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
changes=$(ls "$1"/netcairn_*.changes | head -n 1)
deb=$(realpath "$(ls "$1"/netcairn_*.deb | head -n 1)")
lintian --fail-on error,warning,info,pedantic --display-info --pedantic "$changes"
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq netcairn >/dev/null' EXIT
man --warnings -l /usr/share/man/man1/netcairn.1.gz >/dev/null
netcairn --version
"$here/tests/e2e/session.sh" openbox "$here/debian/tests/comes-up"
