#!/usr/bin/env bash
# The main job, given the build folder: for now, convert the all-zero grid to a MODE 2 screen.
set -euo pipefail
build=$1
"$build/cli/quillix-convert" --blank
