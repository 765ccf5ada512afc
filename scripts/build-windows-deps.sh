#!/usr/bin/env bash
# Builds the libraries the show links on Windows (freeglut, GLEW, libpng, SDL2, libmpg123,
# SDL2_mixer) as static x86_64 mingw-w64 archives from Debian's own source packages, into a
# per-user cache shared by every clone, and prepares a Wine prefix to run the results in.
#
#   scripts/build-windows-deps.sh [--smoke]     # --smoke: also build and run scripts/windows-smoke
#   scripts/build-windows-deps.sh --wine-prefix DIR   # only a fresh Wine prefix in DIR, set up the same
#   source scripts/build-windows-deps.sh        # same, then DEMO_WIN_* are set in the caller
#
# The libraries are built once per user and machine: into $DEMO_WIN_CACHE/prefix-KEY, where KEY
# sums the source versions, the recipes, the toolchain file and the flags, so a fresh clone finds
# them and a changed recipe builds a prefix of its own. What is the clone's own (the project's
# build, the Wine prefix, the tests' folders) lives under DEMO_WIN_ROOT.
# Environment: DEMO_WIN_ROOT (default <repo>/build-windows), DEMO_WIN_CACHE (default
# ${XDG_CACHE_HOME:-~/.cache}/demo-windows), DEMO_WIN_JOBS (default 2), DEMO_WIN_DEBIAN_MIRROR
# (default: the machine's own bookworm mirror).

_demo_win_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [[ "${BASH_SOURCE[0]}" != "$0" ]]; then
  # Sourced: build in a child shell so that its strict options and helpers stay out of the
  # caller, then hand over where things are (the child says its prefix on descriptor 3).
  { _demo_win_prefix=$(bash "${BASH_SOURCE[0]}" --print-prefix 3>&1 >&4); } 4>&1 || return
  [[ -n $_demo_win_prefix ]] || return
  DEMO_WIN_ROOT=$(realpath -m "${DEMO_WIN_ROOT:-$_demo_win_repo/build-windows}")
  export DEMO_WIN_ROOT
  export DEMO_WIN_PREFIX=$_demo_win_prefix
  export DEMO_WIN_TOOLCHAIN=$_demo_win_repo/cmake/mingw-w64-x86_64.cmake
  export DEMO_WIN_WINEPREFIX=$DEMO_WIN_ROOT/wine
  export DEMO_WIN_WINE64=/usr/lib/wine/wine64
  export DEMO_WIN_WINESERVER=/usr/lib/wine/wineserver64
  unset _demo_win_repo _demo_win_prefix
  return 0
fi

set -euo pipefail

repo=$_demo_win_repo
root=$(realpath -m "${DEMO_WIN_ROOT:-$repo/build-windows}")
cache_home=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}
cache=$(realpath -m "${DEMO_WIN_CACHE:-$cache_home/demo-windows}")
jobs=${DEMO_WIN_JOBS:-2}
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
triplet=x86_64-w64-mingw32
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
smoke=0
fresh_prefix=
print_prefix=0

while [[ $# -gt 0 ]]; do
  case $1 in
    --smoke) smoke=1 ;;
    --print-prefix) print_prefix=1 ;;
    --wine-prefix)
      [[ $# -ge 2 ]] || { echo "build-windows-deps: --wine-prefix wants a folder" >&2; exit 2; }
      fresh_prefix=$(realpath -m "$2"); shift ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) echo "build-windows-deps: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

# Debian bookworm source packages, pinned to versions the archive here serves and that build.
# The index also lists libpng1.6 1.6.39-2+deb12u6 (security), but its files are not served (404).
sources=(
  freeglut=3.4.0-1
  glew=2.2.0-4
  libpng1.6=1.6.39-2+deb12u5
  libsdl2=2.26.5+dfsg-1
  mpg123=1.31.2-1+deb12u1
  libsdl2-mixer=2.6.2+dfsg-2
)

packages=(
  # the -posix flavour: the -win32 one has no std::thread, std::mutex or std::future
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  cmake ninja-build make dpkg-dev xz-utils bzip2 zip
  # running the results: Wine on Xvfb, Mesa underneath, and what winex11 loads at run time
  wine64 xvfb xauth libgl1 libgl1-mesa-dri
  libxrandr2 libxrender1 libxi6 libxcursor1 libxinerama1 libxxf86vm1 libxcomposite1 libxfixes3
)
((smoke)) && packages+=(ffmpeg)

say_name=windows-deps
# shellcheck source=lib/progress.sh
source "$repo/scripts/lib/progress.sh"

# shellcheck source=lib/apt_install.sh
source "$repo/scripts/lib/apt_install.sh"
# shellcheck source=lib/wine_server_dir.sh
source "$repo/scripts/lib/wine_server_dir.sh"
install_packages() {
  local missing
  mapfile -t missing < <(apt_missing "${packages[@]}")
  [[ ${#missing[@]} -eq 0 ]] && return 0
  say "installing ${missing[*]}"
  apt_install "${missing[@]}" >/dev/null
}

# shellcheck source=lib/debian_source.sh
source "$repo/scripts/lib/debian_source.sh"
debian_cache=$cache
debian_mirror=${DEMO_WIN_DEBIAN_MIRROR:-}

# Build paths are mapped away, so the libraries (and the exes that link them) hold no folder
# of this machine: two users or clones build byte-identical archives.
map_flags="-ffile-prefix-map=$cache/=deps/"
# The prefix and the arguments that name it are set once its key is known (below).
prefix=
cmake_cross=()
cmake_common=()
set_prefix() {
  prefix=$1
  cmake_cross=(
    -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DDEMO_WIN_PREFIX="$prefix"
    -DCMAKE_BUILD_TYPE=Release
  )
  cmake_common=(
    "${cmake_cross[@]}"
    -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_INSTALL_LIBDIR=lib
    -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_C_FLAGS="$map_flags"
    -DCMAKE_CXX_FLAGS="$map_flags"
  )
}

# Configures, builds and installs one CMake project; its output goes to a log.
cmake_build() {
  local name=$1 srcdir=$2; shift 2
  local bdir=$cache/build/$name log=$cache/logs/$name.log
  rm -rf "$bdir"; mkdir -p "$cache/logs"
  if ! { cmake -S "$srcdir" -B "$bdir" "${cmake_common[@]}" "$@" &&
         cmake --build "$bdir" -j "$jobs" && cmake --install "$bdir"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    die "$name failed to build (log: $log)"
  fi
  rm -rf "$bdir"
}

build_freeglut() {
  cmake_build freeglut "$1" -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=OFF -DFREEGLUT_GLES=OFF
}

build_glew() {
  cmake_build glew "$1/build/cmake" -DBUILD_UTILS=OFF
}

build_libpng1_6() {
  cmake_build libpng "$1" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
}

build_libsdl2() {
  cmake_build sdl2 "$1" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF
}

build_mpg123() {
  # The CMake port builds just the libraries; the programs and libout123 are not needed.
  cmake_build mpg123 "$1/ports/cmake" -DBUILD_LIBOUT123=OFF -DBUILD_PROGRAMS=OFF
}

build_libsdl2_mixer() {
  # MP3 through libmpg123: the bundled dr_mp3 keeps the encoder delay (music starts ~50 ms
  # late), and the music is the show's clock. Every other format is off.
  cmake_build sdl2_mixer "$1" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_MPG123=ON -DSDL2MIXER_MP3_MPG123_SHARED=OFF \
    -DSDL2MIXER_MP3_DRMP3=OFF -DMPG123_LINK_LIBRARIES=shlwapi \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_VORBIS= -DSDL2MIXER_WAVE=OFF
}

# The key of a prefix: everything that decides what lands in it, and no path of this machine.
prefix_key() {
  local fn
  {
    printf '%s\n' "${sources[@]}"
    for fn in $(declare -F | awk '$3 ~ /^build_/ && $3 != "build_library" { print $3 }') cmake_build; do
      declare -f "$fn"
    done
    cat "$toolchain"
    "$triplet-gcc-posix" --version | head -n 1
    cmake --version | head -n 1
  } | sha256sum | cut -c1-16
}

# Inside a prefix a stamp marks each library built, so an interrupted run goes on where it was.
build_library() {
  local spec=$1 pkg=${1%%=*} fn stamp t0
  fn=build_${pkg//[.-]/_}
  stamp=$prefix/.stamps/$pkg
  [[ -f $stamp && $(cat "$stamp") == "$spec" ]] && return 0
  fetch_source "$spec"
  t0=$(date +%s)
  say "building $spec"
  "$fn" "$source_dir"
  mkdir -p "$prefix/.stamps"
  echo "$spec" >"$stamp"
  say "built $pkg in $(($(date +%s) - t0)) s"
}

wine_prefix=$root/wine
run_wine() {
  WINEPREFIX=$wine_prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" "$wine64" "$@"
}

# A Wine prefix of our own. Without a window manager, managed windows make every close wait
# about 2 s, so the X11 driver is told not to manage them.
make_wine_prefix() {
  [[ -f $wine_prefix/.ready ]] && return 0
  say "creating the Wine prefix $wine_prefix"
  rm -rf "$wine_prefix"
  mkdir -p "$(dirname "$wine_prefix")"
  run_wine wineboot --init >/dev/null 2>&1
  run_wine reg add 'HKEY_CURRENT_USER\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  WINEPREFIX=$wine_prefix "$wineserver" -w
  remove_wine_server_dir "$wine_prefix"
  grep -q '"Managed"="N"' "$wine_prefix/user.reg" || die "could not set Managed=N in the Wine prefix"
  touch "$wine_prefix/.ready"
}

run_smoke() {
  local bdir=$root/smoke exe dlls
  mkdir -p "$root/logs"
  say "building the smoke program"
  rm -rf "$bdir"
  if ! { cmake -S "$repo/scripts/windows-smoke" -B "$bdir" "${cmake_cross[@]}" &&
         cmake --build "$bdir" -j "$jobs"; } >"$root/logs/smoke.log" 2>&1; then
    tail -n 40 "$root/logs/smoke.log" >&2
    die "the smoke program failed to build"
  fi
  exe=$bdir/windows-smoke.exe
  dlls=$("$triplet-objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort -u | tr '\n' ' ')
  say "the smoke program imports: $dlls"
  ffmpeg -v error -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 \
    -c:a libmp3lame -b:a 128k "$bdir/tone.mp3"
  say "running it under Wine on Xvfb"
  # The Wine server is ended before Xvfb goes, or its helpers complain about the lost display.
  # shellcheck disable=SC2016 # the inner shell expands them
  (cd "$bdir" && WINEPREFIX=$root/wine WINEDEBUG=-all \
     xvfb-run -a -s '-screen 0 1280x800x24' \
       bash -c '"$1" "$2" tone.mp3 2.0; rc=$?; "$3" -k; exit $rc' smoke "$wine64" "$exe" "$wineserver" \
       2> >(grep -v '^ALSA lib' >&2))
  say "smoke test passed"
}

install_packages
[[ -x $wine64 ]] || die "$wine64 is missing after installing wine64"
if [[ -n $fresh_prefix ]]; then
  wine_prefix=$fresh_prefix
  rm -rf "$wine_prefix"
  make_wine_prefix
  exit 0
fi
mkdir -p "$cache"
set_prefix "$cache/prefix-$(prefix_key)"
if [[ ! -f $prefix/.complete ]]; then
  # Two clones building at once would build the same prefix twice over each other.
  exec 9>"$cache/lock"
  flock 9
  if [[ ! -f $prefix/.complete ]]; then
    mkdir -p "$prefix"
    say "building the libraries into $prefix (once per user: every clone uses them)"
    for spec in "${sources[@]}"; do build_library "$spec"; done
    touch "$prefix/.complete"
  fi
  exec 9>&-
fi
make_wine_prefix
((smoke)) && run_smoke
say "ready: prefix $prefix, toolchain $toolchain"
((print_prefix)) && echo "$prefix" >&3
exit 0
