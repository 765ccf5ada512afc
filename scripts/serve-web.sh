#!/usr/bin/env bash
# Serves the browser build (out/web/, made by scripts/build-web.sh) on 127.0.0.1 and opens it in
# the desktop's browser where there is one. Ctrl-C stops the server.
#
#   scripts/serve-web.sh [PORT]      # default 8000
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
web=${DEMO_WEB_OUT:-$repo/out/web}
port=${1:-8000}
[[ -f $web/index.html ]] || "$repo/scripts/build-web.sh"
url="http://127.0.0.1:$port/"
echo "The show: $url  (options: ?start=170, ?size=1280x720)"
if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]] && command -v xdg-open >/dev/null; then
  (sleep 1; xdg-open "$url" >/dev/null 2>&1 || true) &
fi
exec python3 -m http.server --bind 127.0.0.1 --directory "$web" "$port"
