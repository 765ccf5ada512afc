#!/usr/bin/env bash
# Renders the golden frames that the tests compare the show against into tests/golden/: three
# frames of each slot at 320x180 on the 10 fps frame clock. Before writing them it lists, slot by
# slot, which frames changed: every particle draws from one random sequence, so a change to one
# slot's particles changes the frames of the slots after it too. Look at every changed one before
# committing. BUILD_DIR picks the build folder (default build).
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
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$build/demo-capture" --fps 10 --size 320x180 --at "$(IFS=,; echo "${times[*]}")" --out "$fresh" >/dev/null

# The slots as the show has them: number, first and end music time, room.
changed=0
while read -r slot from to _; do
  list=""
  for i in "${!times[@]}"; do
    (( times[i] >= from && times[i] < to )) || continue
    name=frame-${times[$i]}.png
    if ! cmp -s "$fresh/$name" "tests/golden/$name"; then
      list+=" ${times[$i]}"
      changed=$((changed + 1))
    fi
  done
  echo "slot $slot: ${list:- unchanged}"
done < <("$build/demo-capture" --list-slots)
rm -f tests/golden/frame-*.png
cp "$fresh"/frame-*.png tests/golden/
echo "$changed of ${#times[@]} golden frames changed"
