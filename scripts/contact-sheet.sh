#!/usr/bin/env bash
# Lays captured frames out as one labelled sheet:
#   scripts/contact-sheet.sh OUT.png COLUMNS FRAMES_DIR T1 T2 ...
# reads FRAMES_DIR/frame-T.png (as demo-capture --at writes them) and labels each with its music
# time and timeline slot (from demo-capture --list-slots in BUILD_DIR, default build). Needs ffmpeg
# and the DejaVu font.
set -euo pipefail
[[ $# -ge 4 ]] || { echo "usage: $0 OUT.png COLUMNS FRAMES_DIR T1 T2 ..." >&2; exit 2; }
out=$1 columns=$2 frames=$3
shift 3
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

slots=$("$(dirname "$0")/../${BUILD_DIR:-build}/demo-capture" --list-slots)
slot_of() {
  local t=$1 slot from to room
  while read -r slot from to room; do
    (( t >= from && t < to )) && { echo "$slot"; return; }
  done <<< "$slots"
}

i=0
for t in "$@"; do
  label=$(printf 'slot %d   %d:%02d.%d' "$(slot_of "$t")" $((t / 60000)) $((t % 60000 / 1000)) $((t % 1000 / 100)))
  printf '%s' "$label" > "$work/label.txt"  # a file: the filter syntax would take the colons
  # The label goes on a strip under the frame, so it never hides the picture.
  ffmpeg -v error -y -i "$frames/frame-$t.png" -vf \
    "pad=iw:ih+22:0:0:0x202020,drawtext=fontfile=$font:textfile=$work/label.txt:x=6:y=h-18:fontsize=14:fontcolor=white" \
    "$work/$(printf '%03d' $i).png"
  i=$((i + 1))
done
rows=$(( (i + columns - 1) / columns ))
ffmpeg -v error -y -framerate 1 -i "$work/%03d.png" \
  -filter_complex "tile=${columns}x${rows}:padding=4:margin=4:color=0x101010,split[a][b];[a]palettegen[p];[b][p]paletteuse" \
  -frames:v 1 "$out"  # a 256-colour palette keeps the sheet small enough for the repository
echo "$out: $i frames, ${columns}x${rows}"
