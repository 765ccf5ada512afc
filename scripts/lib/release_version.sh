#!/usr/bin/env bash
# The version a release names: the commit's date and its short hash ("2026.12.09 (8451a53c2f1e)"),
# "+changes" after it when the working tree differs from the commit. With --epoch, the commit's
# time in seconds, which the archives stamp on every file. Outside a git checkout: "unknown" and 0.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! git rev-parse --verify -q HEAD >/dev/null 2>&1; then
  [[ ${1:-} == --epoch ]] && echo 0 || echo unknown
  exit 0
fi
if [[ ${1:-} == --epoch ]]; then
  git log -1 --format=%ct
  exit 0
fi
version="$(git log -1 --format=%cd --date=format:%Y.%m.%d) ($(git rev-parse --short=12 HEAD))"
[[ -z $(git status --porcelain --untracked-files=no) ]] || version+=" +changes"
echo "$version"
