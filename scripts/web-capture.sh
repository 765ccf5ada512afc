#!/usr/bin/env bash
# Renders music times of the browser build in headless Chromium, single-sampled, as demo-capture
# renders them natively: frame-T.png per time and a "state before it" line per frame.
#
#   scripts/web-capture.sh --at T1,T2,... [--size WxH] [--fps N] --out DIR
#   scripts/web-capture.sh --bench [--size WxH] [--fps N] [--samples 1|4]
#
# --bench prints demo-capture --bench's table, measured in the browser (--samples 4, the page's
# antialiasing, unless asked). Builds out/web/ when it is not there (scripts/build-web.sh), and
# installs puppeteer-core as web/driver/package-lock.json pins it; it drives the system's
# Chromium (DEMO_CHROMIUM, default /usr/bin/chromium) and downloads no browser.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
web=${DEMO_WEB_OUT:-$repo/out/web}
driver=$repo/web/driver

mode=capture
args=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --bench) mode=bench ;;
    --at|--size|--fps|--out|--samples)
      [[ $# -ge 2 ]] || { echo "web-capture: $1 wants a value" >&2; exit 2; }
      args+=("$1" "$2"); shift ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) echo "web-capture: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

[[ -f $web/index.html ]] || "$repo/scripts/build-web.sh" >/dev/null
if ! cmp -s "$driver/package-lock.json" "$driver/node_modules/.package-lock.json" 2>/dev/null; then
  (cd "$driver" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
exec node "$driver/web-driver.mjs" "$mode" --web "$web" "${args[@]}"
