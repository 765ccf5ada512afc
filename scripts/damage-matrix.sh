#!/usr/bin/env bash
# The whole damaged-data matrix: every file the show reads, missing, empty, truncated, random and
# (scene files) with a 10000-character line, each a capture of the whole show at 2 fps and 160x90.
# ./test.sh runs a sample of it; this runs all of it, two cases at a time. Build first (./test.sh).
set -euo pipefail
cd "$(dirname "$0")/../${BUILD_DIR:-build}"
# The captures draw through EGL: no X server is needed.
exec ctest --output-on-failure -j "${JOBS:-2}" -R '^damage\.' "$@"
