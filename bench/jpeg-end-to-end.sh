#!/usr/bin/env bash
# End to end: quillix-convert -m 2 -t fine on a 24-megapixel baseline JPEG against libjpeg-turbo's
# djpeg decoding the same file, run alternately; prints the median times, their ratio and the
# peak memory of each. Needs cjpeg and djpeg (libjpeg-turbo-progs) and GNU time.
#   bench/jpeg-end-to-end.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
reps=${2:-7}
convert=$build/cli/quillix-convert
for tool in cjpeg djpeg /usr/bin/time "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make-photo.py" "$work/photo.ppm" 6000 4000
cjpeg -quality 90 -outfile "$work/photo.jpg" "$work/photo.ppm"
rm "$work/photo.ppm"
python3 "$root/samples/make-testcard.py" "$work/card.bmp"
echo "photo: 6000 x 4000 baseline JPEG, $(stat -c %s "$work/photo.jpg") bytes"

# Runs a command once; prints "seconds peak-kilobytes".
measure() {
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v k="$(cat "$work/peak")" 'BEGIN { printf "%.4f %d\n", e - s, k }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

export QUILLIX_DRIVE_C=$work
: >"$work/djpeg" && : >"$work/quillix" && : >"$work/card"
measure djpeg -outfile /dev/null "$work/photo.jpg" >/dev/null  # warm the caches
for ((i = 0; i < reps; i++)); do
    measure djpeg -outfile /dev/null "$work/photo.jpg" >>"$work/djpeg"
    measure "$convert" -q -m 2 -t fine -o "$work/out.screen" "$work/photo.jpg" >>"$work/quillix"
    measure "$convert" -q -m 2 -t fine -o "$work/card.screen" "$work/card.bmp" >>"$work/card"
done

d=$(median <"$work/djpeg")
q=$(median <"$work/quillix")
c=$(median <"$work/card")
printf 'djpeg decode         median %.3f s  peak %d KiB\n' "$d" "$(cut -d' ' -f2 "$work/djpeg" | sort -n | tail -1)"
printf 'quillix-convert      median %.3f s  peak %d KiB\n' "$q" "$(cut -d' ' -f2 "$work/quillix" | sort -n | tail -1)"
awk -v q="$q" -v d="$d" 'BEGIN { printf "ratio                %.2f (target at most 1.30)\n", q / d }'
printf '320 x 256 BMP        median %.3f s  peak %d KiB\n' "$c" "$(cut -d' ' -f2 "$work/card" | sort -n | tail -1)"
