#!/usr/bin/env bash
# Checks the browser build in the system's headless Chromium (SwiftShader): frames at twelve
# music times over all five slots against the native capture tool's, single-sampled on both
# sides, by the golden rule (12 levels, at most 0.5% of the pixels), with equal state lines; the
# start-up lines; the music clock against the page's over 10 s; Escape; a page without music
# started at 170 s, reaching the state the native jump reaches; a browser without WebGL 2.
# Builds out/web/ first (scripts/build-web.sh). Diff images of failing frames go to
# build-web/web-diff/. BUILD_DIR picks the native build (default build).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
native=${BUILD_DIR:-build}
web=${DEMO_WEB_OUT:-$repo/out/web}
started=$SECONDS

scripts/build-web.sh >/tmp/demo-build-web.$$.log 2>&1 || { cat /tmp/demo-build-web.$$.log; exit 1; }
rm -f /tmp/demo-build-web.$$.log
cmake --build "$native" --target demo-capture >/dev/null

driver=web/driver

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
times=(9000 24000 42000 58000 75000 92000 110000 141000 152000 170000 184000 205000)
at=$(IFS=,; echo "${times[*]}")
failed=0
fail() { echo "FAIL: $*"; failed=1; }

echo "frames at ${times[*]} ms (320x180, 10 fps frame clock, single-sampled)"
env -u DISPLAY "$native/demo-capture" --samples 1 --fps 10 --size 320x180 --at "$at" --out "$tmp/native" \
  >"$tmp/native.txt" 2>&1 || { cat "$tmp/native.txt"; exit 1; }
scripts/web-capture.sh --at "$at" --size 320x180 --fps 10 --out "$tmp/web" \
  >"$tmp/web.txt" 2>&1 || { cat "$tmp/web.txt"; exit 1; }
names=()
for t in "${times[@]}"; do names+=("frame-$t.png"); done
python3 scripts/lib/compare_frames.py --diff build-web/web-diff "$tmp/native" "$tmp/web" "${names[@]}" ||
  fail "frames beyond the golden rule (diffs in build-web/web-diff/)"
states() { grep -o 'frame-[0-9]*\.png ([0-9]* ms, state before it [0-9a-f]*)' "$1" | sort; }
if ! diff <(states "$tmp/native.txt") <(states "$tmp/web.txt"); then fail "state lines differ"
elif [[ $(states "$tmp/web.txt" | wc -l) -ne ${#times[@]} ]]; then fail "not every frame was reported"
else echo "state lines: all ${#times[@]} equal"
fi

# The state a start at 170 s reaches: the capture tool's before its frame on the same 60 fps clock.
env -u DISPLAY "$native/demo-capture" --fps 60 --size 160x90 --at 170000 --out "$tmp/start" >"$tmp/start.txt" 2>&1 ||
  { cat "$tmp/start.txt"; exit 1; }
start_state=$(grep -o 'state before it [0-9a-f]*' "$tmp/start.txt" | awk '{ print $4 }')

echo "start-up lines, clock, Escape, a page without music from 170 s, a browser without WebGL 2"
node "$driver/web-driver.mjs" checks --web "$web" >"$tmp/checks.json" 2>"$tmp/checks.err" ||
  { cat "$tmp/checks.err"; exit 1; }
python3 - "$tmp/checks.json" "$tmp/native.txt" "$start_state" <<'PY' || failed=1
import json, sys
report = json.load(open(sys.argv[1]))
native = [l.rstrip('\n') for l in open(sys.argv[2])]
problems = []
# The start-up lines as the native show prints them, less what names the platform: the EGL
# device, the audio library's version and the capture tool's own frame lines.
def startup(lines):
    kept = [l for l in lines if not l.startswith(('EGL ', 'Version ')) and 'state before it' not in l]
    while kept and kept[-1] == '':
        kept.pop()
    return kept
if startup(report['lines']) != startup(native):
    problems.append('start-up lines differ:\n  web:    %r\n  native: %r' % (startup(report['lines']), startup(native)))
clock = report['clock']
if not clock['musicDecoded']:
    problems.append('the music was not decoded')
if not (0.995 <= clock['rate'] <= 1.005 and clock['worstMs'] < 40 and clock['seconds'] > 9):
    problems.append('music clock: rate %.4f, %.1f ms from a line over %.1f s' % (clock['rate'], clock['worstMs'], clock['seconds']))
if not (report['escape']['ended'] and report['escape']['playAgain']):
    problems.append('Escape did not end the show with a way to play again: %r' % report['escape'])
quiet = report['noMusic']
said = any('Cannot open music' in l and "page's clock" in l for l in quiet['lines'])
if not said or quiet['advancedMs'] < 1500 or 'without music' not in quiet['status']:
    problems.append('a page without music: said %s, %d ms in 2 s, status %r' % (said, quiet['advancedMs'], quiet['status']))
started = [l for l in quiet['lines'] if l.startswith('Started at 170.000 s: 10200 frames stepped')]
if not started or not started[0].endswith('(state %s).' % sys.argv[3]):
    problems.append('?start=170 did not reach the state %s: %r' % (sys.argv[3], started or quiet['lines'][-3:]))
if 'WebGL 2' not in report['noWebGl2']['status'] or report['noWebGl2']['start']:
    problems.append('a browser without WebGL 2: %r' % report['noWebGl2'])
print('music clock: rate %.4f of performance.now, at most %.1f ms from a line over %.1f s' %
      (clock['rate'], clock['worstMs'], clock['seconds']))
print('page loaded to the start button in %d ms, first frame %d ms after the click' % (report['loadMs'], report['firstFrameMs']))
for p in problems:
    print('FAIL: ' + p)
sys.exit(1 if problems else 0)
PY
if ((failed)); then echo "test-web: FAILED ($((SECONDS - started)) s)"; exit 1; fi
echo "test-web: passed ($((SECONDS - started)) s)"
