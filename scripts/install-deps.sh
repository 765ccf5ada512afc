#!/usr/bin/env bash
# Installs the Debian packages the show, its tools and its tests need; only the missing ones.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  # the show
  freeglut3-dev libglew-dev libglu1-mesa-dev libpng-dev libsdl2-dev libsdl2-mixer-dev
  # rendering without a display (EGL, Mesa's EGL driver)
  libegl-dev libegl-mesa0
  # the data set
  libmp3lame-dev libjpeg-dev
  # tests and tools
  xvfb xauth libgl1-mesa-dri libgtest-dev libbenchmark-dev ffmpeg fonts-dejavu-core cmake ninja-build clang
  libclang-rt-14-dev xdotool x11-utils valgrind
  pkg-config g++
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
