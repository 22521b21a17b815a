#!/usr/bin/env bash
# The window's way from Open to the converted preview (quillix-window-open: load into the picture
# box, sample, convert; less the one-second timer and the painting) on the 24-megapixel JPEG of
# jpeg-end-to-end.sh, point and area sampling, REPETITIONS times each; prints the median total and
# the peak memory, with the load average before and after. A second BUILD_DIR (a build of an
# earlier version with the same bench program) is run alternately to compare.
#   bench/window-open.sh BUILD_DIR [OTHER_BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=("$1")
[ $# -gt 1 ] && [ -d "$2" ] && builds+=("$2")
reps=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make-photo.py" "$work/photo.ppm" 6000 4000
cjpeg -quality 90 -outfile "$work/photo.jpg" "$work/photo.ppm"
rm "$work/photo.ppm"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for sampling in point area; do
    for build in "${builds[@]}"; do : >"$work/$(basename "$build").$sampling"; done
    for ((i = 0; i < reps; i++)); do
        for build in "${builds[@]}"; do
            "$build/bench/quillix-window-open" "$work/photo.jpg" "$sampling" \
                >>"$work/$(basename "$build").$sampling"
        done
    done
    for build in "${builds[@]}"; do
        results=$work/$(basename "$build").$sampling
        total=$(sed 's/.*total \([0-9.]*\) s.*/\1/' "$results" | sort -n |
            awk '{ v[NR] = $1 } END { printf "%.3f s (%.3f-%.3f)", v[int((NR + 1) / 2)], v[1], v[NR] }')
        peak=$(sed 's/.*peak \([0-9]*\) KiB.*/\1/' "$results" | sort -n | tail -1)
        printf '%-6s %-40s total %s, peak %d MiB\n' "$sampling" "$build" "$total" $((peak / 1024))
    done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
