#!/usr/bin/env bash
# The window's latencies (quillix-window-latency) and its start-up time, with the machine's load
# before and after: a timing taken while anything else runs is not a result.
# Usage: bench/window-latency.sh [BUILD_DIR] [PHOTO.jpg]   (a 24-megapixel JPEG is made if none)
set -euo pipefail
build=${1:-build/release}
program="$build/bench/quillix-window-latency"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for _ in $(seq 11); do "$program" --startup 2>/dev/null; done | sort -n |
    awk '{ t[NR] = $1 } END { printf "start to visible: median %.1f ms (%.1f-%.1f), n=%d\n", t[int((NR + 1) / 2)], t[1], t[NR], NR }'
"$program" "${2:-}" 21 2>/dev/null
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
