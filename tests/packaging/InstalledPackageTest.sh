#!/usr/bin/env bash
# Installs the package on a Debian 12 system that has no Quillix build tree (a fresh one, as
# made by fresh-debian.sh) and checks that the converter and the window work from the installed
# files alone: the window, under Xvfb, opens the sample named on its command line and writes the
# same files as quillix-convert.
# Usage, as root: InstalledPackageTest.sh quillix_VERSION_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
sample=$(realpath "$(dirname "$0")/../../samples/testcard.bmp")
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "$deb" >/dev/null
apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null
command -v quillix quillix-convert
quillix-convert --version

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/convert" "$work/window" "$work/home"
QUILLIX_DRIVE_C=$work/convert quillix-convert "$sample"
# The window's pass runs about a second after the picture opens; then the window is closed.
HOME=$work/home QUILLIX_DRIVE_C=$work/window xvfb-run -a bash -c '
    quillix "$1" & window=$!
    for _ in $(seq 100); do [ -s "$QUILLIX_DRIVE_C/\$.screen.inf" ] && break; sleep 0.2; done
    kill "$window"' _ "$sample"
cmp "$work/convert/\$.screen" "$work/window/\$.screen"
cmp "$work/convert/\$.screen.inf" "$work/window/\$.screen.inf"
grep -qxF "Root=$sample" "$work/home/.config/Quillix.conf"
echo "OK: the window under Xvfb wrote the same $(stat -c %s "$work/window/\$.screen")-byte screen as quillix-convert"
