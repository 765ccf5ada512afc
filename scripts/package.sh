#!/usr/bin/env bash
# Writes the release archives: out/demo-linux-x86_64.tar.xz (demo, demo-capture, demo-check,
# data/, biisi.mp3, the launcher demo.sh, README.txt and DEBIAN-PACKAGES.txt, the packages the
# programs need at run time), through scripts/build-windows.sh, out/windows/demo-win64.zip, and
# through scripts/build-web.sh, out/demo-web.zip (the browser build as it is served). Then
# unpacks the Linux archive into an empty folder and plays its end there under Xvfb.
#
#   scripts/package.sh [--linux-only | --no-windows]
#
# The Linux programs come from the native Release build in DEMO_HOST_BUILD (default build/), which
# is configured and built here as far as they need; they run on Debian 12 or newer.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
windows=1
web=1
case ${1:-} in
  --linux-only) windows=0; web=0 ;;
  --no-windows) windows=0 ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--linux-only | --no-windows]" >&2; exit 2 ;;
esac
host=$(realpath -m "${DEMO_HOST_BUILD:-$repo/build}")
jobs=${DEMO_WIN_JOBS:-2}

((windows)) && scripts/build-windows.sh

scripts/install-deps.sh
[[ -f $host/CMakeCache.txt ]] || cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$host" -j "$jobs" --target demo demo-capture demo-check show_data >/dev/null

name=demo-linux-x86_64
work=$host/package
stage=$work/$name
rm -rf "$work"
mkdir -p "$stage" out
strip -o "$stage/demo" "$host/show/demo"
strip -o "$stage/demo-capture" "$host/demo-capture"
strip -o "$stage/demo-check" "$host/demo-check"
cp -r "$host/show/data" "$host/show/biisi.mp3" "$stage/"
cp scripts/release/demo.sh "$stage/"
sed "s/@VERSION@/$(scripts/lib/release_version.sh)/" scripts/release/README-linux.txt >"$stage/README.txt"

# The Debian packages of the libraries the programs link directly; apt brings what those need.
needed=$(for program in demo demo-capture demo-check; do
           objdump -p "$stage/$program" | awk '/NEEDED/ { print $2 }'
         done | sort -u)
packages=$(for library in $needed; do
             path=$(ldd "$host/demo-capture" "$host/demo-check" "$host/show/demo" |
                    awk -v l="$library" '$1 == l { print $3; exit }')
             [[ -n $path ]] || { echo "package: $library is not found by ldd" >&2; exit 1; }
             path=$(realpath "$path")
             dpkg -S "$path" 2>/dev/null || dpkg -S "${path#/usr}" 2>/dev/null || dpkg -S "/usr$path"
           done | cut -d: -f1 | sort -u | xargs)
{
  echo "# Debian 12 packages the programs need at run time:"
  echo "#   sudo apt-get install $packages"
  echo "# and a GL driver: a GPU's, or Mesa's (libgl1-mesa-dri libegl-mesa0) for software rendering."
  echo "# demo-capture also uses ffmpeg (videos) and xvfb xauth (its GLUT window without a display)."
  printf '%s\n' $packages
} >"$stage/DEBIAN-PACKAGES.txt"

tar -C "$work" --owner=0 --group=0 --sort=name -cJf "out/$name.tar.xz" "$name"

# The archive on its own: unpacked into an empty folder, its launcher plays the end of the show.
try=$work/unpacked
mkdir -p "$try"
tar -C "$try" -xJf "out/$name.tar.xz"
status=0
(cd / && timeout 60 xvfb-run -a -s '-screen 0 1280x800x24' "$try/$name/demo.sh" 640 400 --start 205 \
   >"$work/unpacked.log" 2>&1) || status=$?
if [[ $status -ne 0 ]] || ! grep -q '^Started at 205\.000 s' "$work/unpacked.log"; then
  cat "$work/unpacked.log" >&2
  echo "package: the unpacked archive did not play to its end (status $status)" >&2
  exit 1
fi
if ! (cd "$try/$name" && ./demo-check . >"$work/unpacked-check.log" 2>&1); then
  cat "$work/unpacked-check.log" >&2
  echo "package: demo-check finds the unpacked data set damaged" >&2
  exit 1
fi
echo "out/$name.tar.xz ($(du -h "out/$name.tar.xz" | cut -f1)): unpacked elsewhere, it played its end with status 0" \
  "and its data set is clean"
((windows)) && echo "out/windows/demo-win64.zip ($(du -h out/windows/demo-win64.zip | cut -f1))"

# The browser build: out/web/ as it is served, with a README.
if ((web)); then
  scripts/build-web.sh >"$work/web.log" 2>&1 || { cat "$work/web.log" >&2; exit 1; }
  stage=$work/demo-web
  rm -rf "$stage"
  cp -r out/web "$stage"
  sed "s/@VERSION@/$(scripts/lib/release_version.sh)/" scripts/release/README-web.txt >"$stage/README.txt"
  # shellcheck source=lib/reproducible_zip.sh
  source scripts/lib/reproducible_zip.sh
  reproducible_zip "$stage" "$repo/out/demo-web.zip" "$(scripts/lib/release_version.sh --epoch)"
  echo "out/demo-web.zip ($(du -h out/demo-web.zip | cut -f1))"
fi
exit 0
