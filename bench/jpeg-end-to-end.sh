#!/usr/bin/env bash
# End to end: quillix-convert -m 2 -t fine on 24-megapixel JPEGs (baseline as cjpeg writes it,
# which is 4:2:0; 4:2:2; 4:4:4; progressive; baseline turned by EXIF orientation 6) against
# libjpeg-turbo's djpeg decoding the same file, run alternately; prints for each the median
# times, their ratio and the peak memory of each. Needs cjpeg and djpeg (libjpeg-turbo-progs)
# and GNU time. OPTIONS adds converter options, e.g. OPTIONS="--sampling area".
#   [OPTIONS=...] bench/jpeg-end-to-end.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
reps=${2:-7}
read -r -a options <<<"${OPTIONS:-}"
convert=$build/cli/quillix-convert
for tool in cjpeg djpeg /usr/bin/time "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make-photo.py" "$work/photo.ppm" 6000 4000
cjpeg -quality 90 -outfile "$work/baseline.jpg" "$work/photo.ppm"
cjpeg -quality 90 -sample 2x1 -outfile "$work/422.jpg" "$work/photo.ppm"
cjpeg -quality 90 -sample 1x1 -outfile "$work/444.jpg" "$work/photo.ppm"
cjpeg -quality 90 -progressive -outfile "$work/progressive.jpg" "$work/photo.ppm"
python3 "$root/bench/add-exif-orientation.py" "$work/baseline.jpg" "$work/turned.jpg" 6
rm "$work/photo.ppm"
python3 "$root/samples/make-testcard.py" "$work/card.bmp"

# Runs a command once; prints "seconds peak-kilobytes".
measure() {
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v k="$(cat "$work/peak")" 'BEGIN { printf "%.4f %d\n", e - s, k }'
}

median() { cut -d' ' -f1 | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
peak() { cut -d' ' -f2 | sort -n | tail -1; }

export QUILLIX_DRIVE_C=$work
printf '%-12s %9s %9s %9s %6s %11s %11s\n' photo bytes djpeg quillix ratio "djpeg peak" "quillix peak"
for name in baseline 422 444 progressive turned; do
    photo=$work/$name.jpg
    : >"$work/djpeg" && : >"$work/quillix"
    measure djpeg -outfile /dev/null "$photo" >/dev/null  # warm the caches
    for ((i = 0; i < reps; i++)); do
        measure djpeg -outfile /dev/null "$photo" >>"$work/djpeg"
        measure "$convert" -q -m 2 -t fine "${options[@]}" -o "$work/out.screen" "$photo" \
            >>"$work/quillix"
    done
    d=$(median <"$work/djpeg")
    q=$(median <"$work/quillix")
    printf '%-12s %9d %8.3fs %8.3fs %6.2f %8d KiB %8d KiB\n' "$name" "$(stat -c %s "$photo")" \
        "$d" "$q" "$(awk -v q="$q" -v d="$d" 'BEGIN { print q / d }')" \
        "$(peak <"$work/djpeg")" "$(peak <"$work/quillix")"
done
echo "(6000 x 4000, quality 90; target: ratio at most 0.80, quillix peak at most 24576 KiB)"

: >"$work/card"
for ((i = 0; i < reps; i++)); do
    measure "$convert" -q -m 2 -t fine -o "$work/card.screen" "$work/card.bmp" >>"$work/card"
done
printf '320 x 256 BMP        median %.3f s  peak %d KiB\n' "$(median <"$work/card")" "$(peak <"$work/card")"
