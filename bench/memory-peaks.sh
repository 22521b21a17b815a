#!/usr/bin/env bash
# Peak memory of quillix-convert on large pictures, against the goal: at most 1.2 times the
# picture box's own buffer (4 bytes a pixel) plus 64 MiB. Generates each picture, runs the
# converter once per sampling under GNU time, prints a table with the peak and the wall time.
# Needs python3, cjpeg (libjpeg-turbo-progs) and GNU time; the largest pictures need about
# 3 GB of disk in the temporary folder and 2.5 GB of memory.
#   [SAMPLING=point,area] bench/memory-peaks.sh [BUILD_DIR] [SIDE [KIND...]]
# SIDE defaults to 16384, the largest allowed; KIND picks some of the kinds listed below;
# SAMPLING lists the --sampling values to run each picture with (point by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
side=${2:-16384}
kinds=(png-rgba8 png-rgb8 png-grey8 png-palette png-grey16 png-rgb16 png-rgba16 png-rgb16-interlaced
    png-rgba16-interlaced png-rgb16-keyed gif bmp jpeg
    jpeg-turned jpeg-progressive)
[ $# -gt 2 ] && kinds=("${@:3}")
IFS=, read -r -a samplings <<<"${SAMPLING:-point}"
convert=$build/cli/quillix-convert
for tool in python3 cjpeg /usr/bin/time "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLIX_DRIVE_C=$work

# A JPEG of the photograph generator's, with an EXIF orientation (6: a quarter turn) added.
make_jpeg() {
    local orientation=$1 out=$2
    shift 2
    python3 "$root/bench/make-photo.py" "$work/photo.ppm" "$side" "$side"
    cjpeg -quality 85 "$@" -outfile "$work/plain.jpg" "$work/photo.ppm"
    rm "$work/photo.ppm"
    python3 - "$work/plain.jpg" "$out" "$orientation" <<'PY'
import struct, sys
jpeg = open(sys.argv[1], "rb").read()
tiff = b"MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01" + struct.pack(">H", int(sys.argv[3])) + b"\x00\x00\x00\x00\x00\x00"
payload = b"Exif\x00\x00" + tiff
open(sys.argv[2], "wb").write(jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:])
PY
    rm "$work/plain.jpg"
}

box_mib=$((side * side * 4 / 1048576))
goal_mib=$((box_mib * 12 / 10 + 64))
printf '%s x %s pictures; box buffer %d MiB; goal %d MiB\n' "$side" "$side" "$box_mib" "$goal_mib"
printf '%-16s %-8s %10s %12s %8s %8s %s\n' picture sampling "file MiB" "peak MiB" "x box" \
    seconds result
for kind in "${kinds[@]}"; do
    case $kind in
        jpeg) make_jpeg 1 "$work/picture" ;;
        jpeg-turned) make_jpeg 6 "$work/picture" ;;
        jpeg-progressive) make_jpeg 1 "$work/picture" -progressive ;;
        *) python3 "$root/bench/make-pictures.py" "$kind" "$work/picture" "$side" "$side" ;;
    esac
    file_mib=$(($(stat -c %s "$work/picture") / 1048576))
    for sampling in "${samplings[@]}"; do
        if /usr/bin/time -f '%M %e' -o "$work/peak" "$convert" -q --sampling "$sampling" \
            -o "$work/out.screen" "$work/picture" 2>"$work/err"; then
            result=converted
        else
            result="failed: $(tail -n 1 "$work/err")"
        fi
        read -r peak_kib seconds < <(tail -n 1 "$work/peak")
        peak_mib=$((peak_kib / 1024))
        ratio=$(awk -v p="$peak_mib" -v b="$box_mib" 'BEGIN { printf "%.2f", p / b }')
        verdict=$([ "$peak_mib" -le "$goal_mib" ] && echo "within goal" || echo "OVER goal")
        printf '%-16s %-8s %10d %12d %8s %8s %s, %s\n' "$kind" "$sampling" "$file_mib" \
            "$peak_mib" "$ratio" "$seconds" "$result" "$verdict"
    done
    rm -f "$work/picture"
done
