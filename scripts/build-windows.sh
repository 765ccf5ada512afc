#!/usr/bin/env bash
# Cross-builds the show for 64-bit Windows and packs it into out/windows/demo-win64.zip: demo.exe,
# demo-capture.exe and demo-check.exe (static: no DLLs beside them), data/, biisi.mp3 and README.txt.
#
#   scripts/build-windows.sh
#
# The libraries come from scripts/build-windows-deps.sh (built once per machine, under
# DEMO_WIN_ROOT, default build-windows/); the project builds into $DEMO_WIN_ROOT/project. The data
# set is written by the host's datagen, from the native build in DEMO_HOST_BUILD (default build/),
# configured here when it is not there yet. A second run only rebuilds what changed.
# Environment: DEMO_WIN_ROOT, DEMO_WIN_JOBS (default 2), DEMO_HOST_BUILD.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
started=$(date +%s)
say() { printf '[build-windows %4ds] %s\n' $(($(date +%s) - started)) "$*"; }

# shellcheck source=build-windows-deps.sh
source scripts/build-windows-deps.sh
jobs=${DEMO_WIN_JOBS:-2}
project=$DEMO_WIN_ROOT/project
host=$(realpath -m "${DEMO_HOST_BUILD:-$repo/build}")

say "building the project for Windows in $project"
cmake -S . -B "$project" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$DEMO_WIN_TOOLCHAIN" -DDEMO_WIN_PREFIX="$DEMO_WIN_PREFIX" >/dev/null
cmake --build "$project" -j "$jobs" --target demo demo-capture demo-check

say "writing the data set with the host's datagen ($host)"
if [[ ! -f $host/CMakeCache.txt ]]; then
  scripts/install-deps.sh
  cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$host" -j "$jobs" --target show_data >/dev/null

say "packing out/windows/demo-win64.zip"
stage=$DEMO_WIN_ROOT/package/demo-win64
rm -rf "$stage"
mkdir -p "$stage" out/windows
# strip writes a time into each exe's header (and its checksum over it): the commit's.
epoch=$(scripts/lib/release_version.sh --epoch)
for exe in show/demo.exe demo-capture.exe demo-check.exe; do
  SOURCE_DATE_EPOCH=$epoch x86_64-w64-mingw32-strip -o "$stage/$(basename "$exe")" "$project/$exe"
done
cp -r "$host/show/data" "$host/show/biisi.mp3" "$stage/"
version=$(scripts/lib/release_version.sh)
# Notepad and the console read CR LF.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' scripts/release/README-windows.txt >"$stage/README.txt"
# shellcheck source=lib/reproducible_zip.sh
source scripts/lib/reproducible_zip.sh
reproducible_zip "$stage" "$repo/out/windows/demo-win64.zip" "$epoch"
say "done: out/windows/demo-win64.zip ($(du -h out/windows/demo-win64.zip | cut -f1), version $version)"
