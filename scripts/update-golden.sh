#!/usr/bin/env bash
# Renders the golden frames that the tests compare the show against into tests/golden/: three
# frames of each slot at 320x180 on the 10 fps frame clock. Look at every one before committing.
# BUILD_DIR picks the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

times=(
  9000 24000 42000    # slot 1: sky ascent
  58000 75000 92000   # slot 2: flame procession
  103000 110000 116000  # slot 3: worms
  141000 152000 170000  # slot 4: cannon
  184000 197000 204000  # slot 5: cloud flight
)
build=${BUILD_DIR:-build}
cmake --build "$build" --target demo-capture show_data
rm -f tests/golden/frame-*.png
"$build/demo-capture" --fps 10 --size 320x180 --at "$(IFS=,; echo "${times[*]}")" --out tests/golden
