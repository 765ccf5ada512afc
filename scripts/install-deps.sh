#!/usr/bin/env bash
# Installs the Debian packages the show, its tools and its tests need; only the missing ones.
# Quiet and quick when everything is already there; waits while another apt holds the lock.
set -euo pipefail
# shellcheck source=lib/apt_install.sh
source "$(dirname "$0")/lib/apt_install.sh"

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
  # the check's portability notes: the reference GLSL compiler
  glslang-tools
  pkg-config g++
)

apt_install "${packages[@]}"
