#!/usr/bin/env bash
# Measures what the data check misses: damaged copies of the default data set, one mutation each
# (lines deleted, doubled or moved; braces; numbers made nan, inf, 1e40, followed by letters or
# left empty; names changed in case or swapped; files cut, replaced by another file's bytes or by
# a directory; a byte order mark; CR LF), each checked by demo-check and rendered by
# demo-capture where its file is on screen. Prints the table and the misses (the picture changed
# and the check said clean); exits 1 when there is one.
#
#   scripts/mutate-check.sh [--sample N] [--seed S] [--keep DIR]   # default: the full run
#
# BUILD_DIR picks the native build (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" --target demo-check demo-capture show_data >/dev/null
exec python3 scripts/lib/mutate_check.py --build "$build" "$@"
