#!/usr/bin/env bash
# Builds the show and plays it: ./run.sh [width height] [demo's options, e.g. --dev]
# With a display the show takes the whole screen. Without one, or with --video, it is rendered
# offline into out/show.mp4 (1280x720, 30 fps, with the music) to be watched with any player.
set -euo pipefail
cd "$(dirname "$0")"

video=false
if [[ "${1:-}" == "--video" ]]; then
  video=true
  shift
fi

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

if [[ "$video" == false && -n "${DISPLAY:-}" ]]; then
  cd build/show
  exec ./demo "$@"
fi
[[ "$video" == false ]] && echo "No DISPLAY: rendering the show into a video instead."
build/demo-capture --from 0 --to 210000 --fps 30 --size 1280x720 --out out/show.mp4 >/dev/null
echo "The show is in out/show.mp4; play it with: ffplay out/show.mp4   (or: mpv out/show.mp4)"
