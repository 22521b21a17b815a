#!/usr/bin/env bash
# The main job, given the build folder: the window where there is a display; otherwise the
# bundled sample picture converted by the command-line converter.
set -euo pipefail
build=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/app/quillix" ]; then
    exec "$build/app/quillix"
fi
echo "No display available: converting the bundled sample with quillix-convert instead."
exec "$build/cli/quillix-convert" "$root/samples/testcard.bmp"
