#!/usr/bin/env bash
# A folder of photographs in one run: quillix-convert -m 2 -t fine -d on COUNT 12-megapixel
# JPEGs (links to four generated files), then on a tenth as many, to show that the memory does
# not grow with the count; prints pictures per second and the peak memory of each run. Needs
# cjpeg (libjpeg-turbo-progs) and GNU time. Everything it writes is removed at the end.
#   bench/folder-end-to-end.sh [BUILD_DIR] [COUNT]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
count=${2:-1000}
convert=$build/cli/quillix-convert
for tool in cjpeg /usr/bin/time "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make-photo.py" "$work/photo.ppm" 4000 3000
cjpeg -quality 90 -outfile "$work/a.jpg" "$work/photo.ppm"
cjpeg -quality 85 -sample 2x1 -outfile "$work/b.jpg" "$work/photo.ppm"
cjpeg -quality 95 -sample 1x1 -outfile "$work/c.jpg" "$work/photo.ppm"
cjpeg -quality 90 -progressive -outfile "$work/d.jpg" "$work/photo.ppm"
rm "$work/photo.ppm"

# Converts the first n links in one run; prints "n seconds peak-kilobytes".
run() {
    local n=$1 i start end
    rm -rf "$work/in" "$work/out" && mkdir "$work/in" "$work/out"
    for ((i = 0; i < n; i++)); do
        ln "$work/$(printf 'abcd' | cut -c$((i % 4 + 1))).jpg" "$work/in/$(printf '%04d' "$i").jpg"
    done
    start=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$convert" -q -m 2 -t fine -d "$work/out" "$work"/in/*.jpg
    end=$(date +%s.%N)
    [ "$(ls "$work/out" | wc -l)" -eq $((2 * n)) ] || { echo "not every picture converted" >&2; exit 1; }
    awk -v n="$n" -v s="$start" -v e="$end" -v k="$(cat "$work/peak")" \
        'BEGIN { printf "%5d pictures  %7.2f s  %6.1f pictures/s  peak %d KiB\n", n, e - s, n / (e - s), k }'
}

echo "4000 x 3000 JPEGs (4:2:0, 4:2:2, 4:4:4, progressive in turn), -m 2 -t fine -d:"
run $((count / 10))
run "$count"
