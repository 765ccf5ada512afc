#!/usr/bin/env bash
# Builds the show for a browser into out/web/: the page, demo.js and demo.wasm (the show's rooms
# compiled by emscripten, drawing through WebGL 2), the data package and biisi.mp3. Any static web
# server serves the folder (scripts/serve-web.sh does, on 127.0.0.1).
#
#   scripts/build-web.sh            # installs emscripten and chromium when missing, then builds
#
# emscripten's zlib and libpng ports would download their sources: they are fed offline from
# Debian's source packages instead, into a per-user cache with emscripten's own cache beside
# them, so a fresh clone builds without a network beyond Debian's archive.
# Environment: DEMO_WEB_BUILD (default <repo>/build-web), DEMO_WEB_OUT (default <repo>/out/web),
# DEMO_WEB_CACHE (default ${XDG_CACHE_HOME:-~/.cache}/demo-web), BUILD_DIR (the native build that
# makes the data set, default build), DEMO_WEB_DEBIAN_MIRROR.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

build=$(realpath -m "${DEMO_WEB_BUILD:-$repo/build-web}")
out=$(realpath -m "${DEMO_WEB_OUT:-$repo/out/web}")
cache_home=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}
cache=$(realpath -m "${DEMO_WEB_CACHE:-$cache_home/demo-web}")
native=${BUILD_DIR:-build}

# Debian bookworm source packages for emscripten's ports, pinned to versions the archive serves.
sources=(zlib=1:1.2.13.dfsg-1 libpng1.6=1.6.39-2+deb12u5)

say_name=web
# shellcheck source=lib/progress.sh
source "$repo/scripts/lib/progress.sh"

# shellcheck source=lib/apt_install.sh
source "$repo/scripts/lib/apt_install.sh"
# shellcheck source=lib/debian_source.sh
source "$repo/scripts/lib/debian_source.sh"
debian_cache=$cache
debian_mirror=${DEMO_WEB_DEBIAN_MIRROR:-}

packages=(emscripten chromium dpkg-dev python3 zip cmake ninja-build)
# Node.js may come from elsewhere than Debian (with its own npm, which Debian's npm conflicts with).
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
mapfile -t missing < <(apt_missing "${packages[@]}")
if [[ ${#missing[@]} -gt 0 ]]; then
  say "installing ${missing[*]}"
  apt_install "${missing[@]}" >/dev/null
fi

# emscripten's config, cache and ports of our own: Debian's cache is frozen and read-only.
emscripten_version=$(cat /usr/share/emscripten/emscripten-version.txt | tr -d '"')
em=$cache/emscripten-$emscripten_version
export EM_CONFIG=$em/config
export NODE_PATH=/usr/share/nodejs  # emcc's own JavaScript needs acorn from there
if [[ ! -f $em/.cache-copied ]]; then
  say "copying emscripten $emscripten_version's cache (once per user)"
  rm -rf "$em"
  mkdir -p "$em"
  # Hard links where the cache shares a disk with ours: emscripten only adds files to it.
  cp -al /usr/share/emscripten/cache "$em/cache" 2>/dev/null || { rm -rf "$em/cache"; cp -a /usr/share/emscripten/cache "$em/cache"; }
  touch "$em/.cache-copied"
fi
cat >"$EM_CONFIG" <<CONFIG
EMSCRIPTEN_ROOT = '/usr/share/emscripten'
LLVM_ROOT = '/usr/bin'
BINARYEN_ROOT = '/usr'
NODE_JS = '$(command -v node)'
FROZEN_CACHE = False
CACHE = '$em/cache'
PORTS = '$em/ports'
LLVM_ADD_VERSION = '14'
CLANG_ADD_VERSION = '14'
CONFIG

# Each port's source where its script looks, marked with the URL it would have fetched.
feed_port() {
  local spec=$1 port=$2 folder=$3 url=$4
  [[ -f $em/ports/$port/.emscripten_url && $(cat "$em/ports/$port/.emscripten_url") == "$url" ]] && return 0
  fetch_source "$spec"
  say "feeding emscripten's $port port from Debian's $spec"
  rm -rf "$em/ports/$port"
  mkdir -p "$em/ports/$port"
  cp -a "$source_dir" "$em/ports/$port/$folder"
  rm -rf "$em/ports/$port/$folder/debian" "$em/ports/$port/$folder/.pc"
  echo "$url" >"$em/ports/$port/.emscripten_url"
}
# The version a port script pins: its NAME = '...' line.
port_field() { sed -n "s/^$2 = '\(.*\)'$/\1/p" "/usr/share/emscripten/tools/ports/$1.py"; }
zlib_version=$(port_field zlib VERSION)
png_tag=$(port_field libpng TAG)
feed_port "${sources[0]}" zlib "zlib-$zlib_version" \
  "https://storage.googleapis.com/webassembly/emscripten-ports/zlib-$zlib_version.zip"
feed_port "${sources[1]}" libpng "libpng-$png_tag" \
  "https://storage.googleapis.com/webassembly/emscripten-ports/libpng-$png_tag.tar.gz"

# The data set comes from the native generator.
say "data set (native build in $native)"
./scripts/install-deps.sh >/dev/null
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" --target show_data >/dev/null
show=$native/show
[[ -d $show/data && -f $show/biisi.mp3 ]] || die "the data set was not made in $show"

say "compiling (emscripten $emscripten_version, build in $build)"
emcmake cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# Ninja's lines only when something fails or warns.
if ! cmake --build "$build" >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  die "the build failed"
fi
grep -A4 'warning:' "$build/build.log" >&2 || true

say "laying out $out"
rm -rf "$out"
mkdir -p "$out"
cp "$build/web/demo.js" "$build/web/demo.wasm" "$out/"
cp web/index.html web/page.js web/page.css "$out/"
cp "$show/biisi.mp3" "$out/"
# The packager reminds us of -sFORCE_FILESYSTEM, which the link has: its words only on failure.
python3 /usr/share/emscripten/tools/file_packager.py "$out/demo.data" --preload "$show/data@data" \
  --js-output="$out/demo-data.js" >"$build/file_packager.log" 2>&1 || { cat "$build/file_packager.log" >&2; exit 1; }
du -ab "$out" | sort -k2 | awk -v root="$out" '{ sub(root "/?", "", $2); printf "  %9d  %s\n", $1, ($2 == "" ? "(all)" : $2) }'
say "done: serve it with scripts/serve-web.sh"
