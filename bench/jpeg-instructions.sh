#!/usr/bin/env bash
# Instruction counts (valgrind's callgrind), which a busy machine does not disturb, of
# quillix-convert -m 2 -t fine (point and area sampling) against djpeg's full decode and
# djpeg -scale 1/8 (entropy decoding without the full IDCT: the floor for any exact decoder), on
# the 24-megapixel photographs of jpeg-end-to-end.sh; and of the start-up (--version, the test
# card). For decisions during development; the times that the goals speak of come from
# jpeg-end-to-end.sh on a quiet machine. Needs valgrind, cjpeg and djpeg.
#   bench/jpeg-instructions.sh [BUILD_DIR] [KIND...]    (KIND: baseline 422 444 progressive turned)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
kinds=(baseline 422 444 progressive turned)
[ $# -gt 1 ] && kinds=("${@:2}")
convert=$build/cli/quillix-convert
for tool in valgrind cjpeg djpeg "$convert"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLIX_DRIVE_C=$work
python3 "$root/bench/make-photo.py" "$work/photo.ppm" 6000 4000
declare -A flags=([baseline]="" [422]="-sample 2x1" [444]="-sample 1x1" [progressive]="-progressive"
    [turned]="")
for kind in "${kinds[@]}"; do
    read -r -a extra <<<"${flags[$kind]}"
    cjpeg -quality 90 "${extra[@]}" -outfile "$work/$kind.jpg" "$work/photo.ppm"
done
[ -f "$work/turned.jpg" ] && python3 "$root/bench/add-exif-orientation.py" "$work/turned.jpg" \
    "$work/turned6.jpg" 6 && mv "$work/turned6.jpg" "$work/turned.jpg"
rm "$work/photo.ppm"
python3 "$root/samples/make-testcard.py" "$work/card.bmp"

# Instructions a command carries out, in millions.
count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" >/dev/null 2>"$work/log"
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/log" | awk '{ printf "%.0f", $1 / 1e6 }'
}

printf '%-12s %10s %10s %10s %10s %8s %8s %8s\n' photo "djpeg M" "1/8 M" "point M" "area M" \
    "point x" "area x" "floor x"
for kind in "${kinds[@]}"; do
    photo=$work/$kind.jpg
    d=$(count djpeg -outfile /dev/null "$photo")
    f=$(count djpeg -scale 1/8 -outfile /dev/null "$photo")
    p=$(count "$convert" -q -m 2 -t fine -o "$work/o.screen" "$photo")
    a=$(count "$convert" -q -m 2 -t fine --sampling area -o "$work/o.screen" "$photo")
    printf '%-12s %10s %10s %10s %10s %8.2f %8.2f %8.2f\n' "$kind" "$d" "$f" "$p" "$a" \
        "$(awk -v x="$p" -v d="$d" 'BEGIN { print x / d }')" \
        "$(awk -v x="$a" -v d="$d" 'BEGIN { print x / d }')" \
        "$(awk -v x="$f" -v d="$d" 'BEGIN { print x / d }')"
done
cjpeg -quality 90 -outfile "$work/card.jpg" "$work/card.bmp"
printf 'start-up: --version %s M, test card %s M, djpeg on the card as JPEG %s M\n' \
    "$(count "$convert" --version)" "$(count "$convert" -q -m 2 -t fine -o "$work/o.screen" "$work/card.bmp")" \
    "$(count djpeg -outfile /dev/null "$work/card.jpg")"
