#!/usr/bin/env bash
# End to end: quillix-convert -m 2 -t fine on 24-megapixel JPEGs (baseline as cjpeg writes it,
# which is 4:2:0; 4:2:2; 4:4:4; progressive; baseline turned by EXIF orientation 6) against
# libjpeg-turbo's djpeg decoding the same file, run alternately; prints for each the median wall
# and processor times, their ratio, the peak memory of each, and djpeg -scale 1/8 (entropy
# decoding without the full IDCT: the floor for any exact decoder); then the converter's start-up
# (--version, the 320 x 256 test card) against djpeg's whole process on a small JPEG, and the load
# average before and after (a timing under load is no result). Needs cjpeg and djpeg
# (libjpeg-turbo-progs) and GNU time. OPTIONS adds converter options, e.g.
# OPTIONS="--sampling area".
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

# Runs a command once; prints "seconds peak-kilobytes processor-seconds".
measure() {
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f '%M %U %S' -o "$work/peak" "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v r="$(tail -1 "$work/peak")" \
        'BEGIN { split(r, f, " "); printf "%.4f %d %.3f\n", e - s, f[1], f[2] + f[3] }'
}

median() { cut -d' ' -f1 | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spread() { cut -d' ' -f1 | sort -n | awk '{ v[NR] = $1 } END { printf "%.3f-%.3f", v[1], v[NR] }'; }
peak() { cut -d' ' -f2 | sort -n | tail -1; }
cpu() { cut -d' ' -f3 | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

export QUILLIX_DRIVE_C=$work
printf '%-12s %9s %17s %17s %17s %6s %6s %11s %11s\n' photo bytes "djpeg (cpu)" \
    "djpeg 1/8 (cpu)" "quillix (cpu)" ratio floor "djpeg peak" "quillix peak"
for name in baseline 422 444 progressive turned; do
    photo=$work/$name.jpg
    : >"$work/djpeg" && : >"$work/floor" && : >"$work/quillix"
    measure djpeg -outfile /dev/null "$photo" >/dev/null  # warm the caches
    for ((i = 0; i < reps; i++)); do
        measure djpeg -outfile /dev/null "$photo" >>"$work/djpeg"
        measure "$convert" -q -m 2 -t fine "${options[@]}" -o "$work/out.screen" "$photo" \
            >>"$work/quillix"
        measure djpeg -scale 1/8 -outfile /dev/null "$photo" >>"$work/floor"
    done
    d=$(median <"$work/djpeg")
    f=$(median <"$work/floor")
    q=$(median <"$work/quillix")
    printf '%-12s %9d %7.3fs (%5.3f) %7.3fs (%5.3f) %7.3fs (%5.3f) %6.2f %6.2f %8d KiB %8d KiB\n' \
        "$name" "$(stat -c %s "$photo")" "$d" "$(cpu <"$work/djpeg")" "$f" "$(cpu <"$work/floor")" \
        "$q" "$(cpu <"$work/quillix")" "$(awk -v q="$q" -v d="$d" 'BEGIN { print q / d }')" \
        "$(awk -v f="$f" -v d="$d" 'BEGIN { print f / d }')" \
        "$(peak <"$work/djpeg")" "$(peak <"$work/quillix")"
    echo "             spreads: djpeg $(spread <"$work/djpeg") s, quillix $(spread <"$work/quillix") s"
done
echo "(6000 x 4000, quality 90; target: ratio at most 0.90, quillix peak at most 24576 KiB)"

: >"$work/card" && : >"$work/version" && : >"$work/small"
cjpeg -quality 90 -outfile "$work/small.jpg" "$work/card.bmp"
for ((i = 0; i < reps; i++)); do
    measure "$convert" -q -m 2 -t fine -o "$work/card.screen" "$work/card.bmp" >>"$work/card"
    measure "$convert" --version >>"$work/version"
    measure djpeg -outfile /dev/null "$work/small.jpg" >>"$work/small"
done
c=$(median <"$work/card")
s=$(median <"$work/small")
printf '320 x 256 BMP        median %.4f s (%s)  peak %d KiB; djpeg on it as JPEG %.4f s: %.1fx (target 3x)\n' \
    "$c" "$(spread <"$work/card")" "$(peak <"$work/card")" "$s" "$(awk -v c="$c" -v s="$s" 'BEGIN { print c / s }')"
printf '%-20s median %.4f s (%s; target under 0.005 s)\n' "--version" "$(median <"$work/version")" \
    "$(spread <"$work/version")"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
