#!/usr/bin/env bash
# Frame times of the show on a machine with a GPU driver and no display: demo-capture --bench
# through EGL at each size, then the whole show rendered to video, timed.
#
#   scripts/gpu-bench.sh [--build DIR] [--sizes WxH,...] [--fps N] [--video-size WxH]
#                        [--video-fps N] [--video-to MS] [--out DIR]
#
# Defaults: build/, 1920x1080,3840x2160 at 60 fps, the video 3840x2160 at 60 fps up to 210000 ms,
# written into a temporary folder that is removed at the end (--out keeps it).
set -euo pipefail

build=build
sizes=1920x1080,3840x2160
fps=60
video_size=3840x2160
video_fps=60
video_to=210000
out=
while [[ $# -gt 0 ]]; do
  [[ $# -ge 2 ]] || { echo "gpu-bench: $1 needs a value" >&2; exit 2; }
  case "$1" in
    --build) build=$2 ;;
    --sizes) sizes=$2 ;;
    --fps) fps=$2 ;;
    --video-size) video_size=$2 ;;
    --video-fps) video_fps=$2 ;;
    --video-to) video_to=$2 ;;
    --out) out=$2 ;;
    *) echo "gpu-bench: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done

capture=$build/demo-capture
[[ -x $capture ]] || { echo "gpu-bench: no $capture; build the tree first" >&2; exit 1; }
[[ -d $build/show/data ]] || { echo "gpu-bench: no $build/show/data; the build writes it" >&2; exit 1; }
if [[ -z $out ]]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
mkdir -p "$out"

# One bench run: its console goes to a log, the renderer line and the table to the screen.
bench() {
  local size=$1 log=$out/bench-$1.log
  if ! "$capture" --window egl --bench --size "$size" --fps "$fps" >"$log" 2>&1; then
    echo "gpu-bench: demo-capture --bench --size $size failed:" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  if [[ -z ${renderer:-} ]]; then
    renderer=$(grep -m1 '^EGL .*: ' "$log" || true)
    echo "renderer: ${renderer:-unknown}"
    case $renderer in
      *software*|*surfaceless*|*llvmpipe*) echo "(a software renderer: these are CPU figures, not a GPU's)" ;;
    esac
  fi
  echo
  sed -n '/ fps frame clock$/,$p' "$log"
}

for size in ${sizes//,/ }; do bench "$size"; done

video=$out/show-$video_size-$video_fps.mp4
echo
echo "video: ${video_size}, $video_fps fps, 0 to $video_to ms"
start=$(date +%s.%N)
if ! "$capture" --window egl --from 0 --to "$video_to" --size "$video_size" --fps "$video_fps" --out "$video" \
    >"$out/video.log" 2>&1; then
  echo "gpu-bench: the video failed:" >&2
  tail -n 5 "$out/video.log" >&2
  exit 1
fi
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v ms="$video_to" -v bytes="$(stat -c %s "$video")" 'BEGIN {
  wall = e - s
  printf "video wall time %.1f s for %.1f s of show (%.2f x its running time), %.1f MB\n", wall, ms / 1000, wall / (ms / 1000), bytes / 1e6
}'
