#!/usr/bin/env bash
# Renders the pictures of the show that README.md shows, into docs/: labelled sheets of frames
# captured at 320x180 on the 10 fps frame clock. BUILD_DIR picks the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

slots_1_2=(2000 9000 16000 24000 30000 42000 45000 50000 58000 65000 71500 75000 83000 88000 92000 97000 101000)
whole_show=()  # every 10.5 s from 5 s
for ((t = 5000; t < 210000; t += 10500)); do whole_show+=("$t"); done

build=${BUILD_DIR:-build}
cmake --build "$build" --target demo-capture show_data
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
all=("${slots_1_2[@]}" "${whole_show[@]}")
"$build/demo-capture" --fps 10 --size 320x180 --at "$(IFS=,; echo "${all[*]}")" --out "$frames" >/dev/null
mkdir -p docs
scripts/contact-sheet.sh docs/slots-1-2.png 4 "$frames" "${slots_1_2[@]}"
scripts/contact-sheet.sh docs/contact-sheet.png 4 "$frames" "${whole_show[@]}"
