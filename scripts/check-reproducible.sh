#!/usr/bin/env bash
# Builds out/windows/demo-win64.zip in two fresh clones of this repository's HEAD, at paths of
# different lengths, and compares the two byte for byte; on a difference it names the files that
# differ. The libraries come from the per-user cache (scripts/build-windows-deps.sh) and the data
# set from the host's datagen in DEMO_HOST_BUILD (default build/), as for any Windows build.
#
#   scripts/check-reproducible.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
host=$(realpath -m "${DEMO_HOST_BUILD:-$repo/build}")
work=$(mktemp -d "${TMPDIR:-/tmp}/reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

clones=("$work/a/demo" "$work/second/clone-of-the-demo")
for clone in "${clones[@]}"; do
  git clone -q "$repo" "$clone"
  echo "check-reproducible: building in $clone"
  if ! (cd "$clone" && DEMO_HOST_BUILD=$host scripts/build-windows.sh >"$work/build.log" 2>&1); then
    tail -n 30 "$work/build.log" >&2
    echo "check-reproducible: the build in $clone failed" >&2
    exit 1
  fi
done

one=${clones[0]}/out/windows/demo-win64.zip two=${clones[1]}/out/windows/demo-win64.zip
if cmp -s "$one" "$two"; then
  echo "check-reproducible: the two zips are byte-identical ($(stat -c %s "$one") bytes, sha256 $(sha256sum "$one" | cut -c1-16))"
  exit 0
fi
echo "check-reproducible: the zips differ" >&2
mkdir -p "$work/x1" "$work/x2"
unzip -q "$one" -d "$work/x1" && unzip -q "$two" -d "$work/x2"
diff -rq "$work/x1" "$work/x2" >&2 || true
for exe in demo.exe demo-capture.exe demo-check.exe; do
  cmp "$work/x1/demo-win64/$exe" "$work/x2/demo-win64/$exe" >/dev/null 2>&1 ||
    echo "  $exe: $(cmp -l "$work/x1/demo-win64/$exe" "$work/x2/demo-win64/$exe" | wc -l) bytes differ" >&2
done
exit 1
