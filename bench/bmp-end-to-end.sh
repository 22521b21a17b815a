#!/usr/bin/env bash
# End to end: quillix-convert -m 2 -t fine on a 16384 x 16384 24-bit BMP (768 MiB, the largest
# picture allowed), file in the page cache; prints the median time and the peak memory. Needs
# GNU time.
#   bench/bmp-end-to-end.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
reps=${2:-7}
convert=$build/cli/quillix-convert
for tool in /usr/bin/time "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make-bmp.py" "$work/huge.bmp" 16384 16384
cat "$work/huge.bmp" >/dev/null  # into the page cache

: >"$work/runs"
for ((i = 0; i < reps; i++)); do
    start=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$convert" -q -m 2 -t fine -o "$work/out.screen" \
        "$work/huge.bmp"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v k="$(cat "$work/peak")" \
        'BEGIN { printf "%.4f %d\n", e - s, k }' >>"$work/runs"
done
printf '16384 x 16384 BMP  median %.3f s  peak %d KiB  (target: well under 1 s, under 24576 KiB)\n' \
    "$(cut -d' ' -f1 "$work/runs" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" \
    "$(cut -d' ' -f2 "$work/runs" | sort -n | tail -1)"
