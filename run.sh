#!/usr/bin/env bash
# Builds the show and plays it: ./run.sh [width height]
# With a display the show takes the whole screen; without one it plays on a virtual X screen of
# the requested size, which nobody sees (useful to check that it runs).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

cd build/show
if [[ -n "${DISPLAY:-}" ]]; then
  exec ./demo "$@"
fi
width=1280 height=800
if [[ $# -ge 2 && "$1" =~ ^[0-9]+$ && "$2" =~ ^[0-9]+$ && "$1" -gt 0 && "$2" -gt 0 ]]; then
  width=$1 height=$2
fi
echo "No DISPLAY: playing on a virtual ${width}x${height} X screen."
exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" ./demo "$@"
