#!/usr/bin/env bash
# Tests the Windows release under Wine, on a private Xvfb over Mesa's llvmpipe.
#
#   scripts/test-windows.sh
#
# Builds first (scripts/build-windows.sh; quick when nothing changed), unpacks
# out/windows/demo-win64.zip into $DEMO_WIN_ROOT/test/ beside a fresh Wine prefix, and checks:
#   - demo.exe 640 400: the start-up lines, a moving picture, Escape ends it with status 0
#   - demo.exe --start 205: the end of the music ends it with status 0
#   - demo.exe started from another folder plays the data set beside it and says so; alone in a
#     folder it says where it looked, status 1; demo-log.txt keeps what it printed
#   - demo.exe --dev: a save reloads the first process; R reloads; a saved broken shader is
#     refused, the fixed one reloads; Escape; no version copies are left in %TEMP%
#   - demo-check.exe: the data set clean, clean with CR LF scene files, a damaged file named
#   - demo-capture.exe --window glut: frames at a dozen times in all five slots against the native
#     capture's, within the golden frames' tolerance; --window egl refused
#   - video: refused without ffmpeg.exe, and piped to a stand-in for it (no Windows ffmpeg here)
#   - every tool in folders named "Mes démos" and "デモ": the show from there and from elsewhere,
#     --dev with a save, demo-check, demo-capture's frames
# One line per check, then the figures; status 1 when a check failed.
# Environment: as scripts/build-windows.sh (DEMO_WIN_ROOT, DEMO_HOST_BUILD).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
scripts/build-windows.sh
# shellcheck source=build-windows-deps.sh
source scripts/build-windows-deps.sh >/dev/null
host=$(realpath -m "${DEMO_HOST_BUILD:-$repo/build}")
project=$DEMO_WIN_ROOT/project
cmake --build "$project" --target frame_sink >/dev/null
cmake --build "$host" --target demo demo-capture demo-check >/dev/null

test_dir=$DEMO_WIN_ROOT/test
rm -rf "$test_dir"
mkdir -p "$test_dir"
cmake -E chdir "$test_dir" cmake -E tar xf "$repo/out/windows/demo-win64.zip"
show=$test_dir/demo-win64
scripts/build-windows-deps.sh --wine-prefix "$test_dir/wine" >/dev/null

failed=0
pass() { printf 'ok    %s\n' "$*"; }
fail() { printf 'FAIL  %s\n' "$*"; failed=1; }
ms_now() { date +%s%3N; }

# A display of our own, big enough for the show's default full-screen window.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$test_dir/display" 2>"$test_dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $test_dir/display ]] && break; sleep 0.1; done
[[ -s $test_dir/display ]] || { echo "test-windows: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$test_dir/display")

export WINEPREFIX=$test_dir/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One Wine server for every run: a server started per program costs seconds and may linger.
"$DEMO_WIN_WINESERVER" -p
# shellcheck source=lib/wine_server_dir.sh
source scripts/lib/wine_server_dir.sh
cleanup() {
  "$DEMO_WIN_WINESERVER" -k 2>/dev/null || true
  "$DEMO_WIN_WINESERVER" -w 2>/dev/null || true
  remove_wine_server_dir "$WINEPREFIX"
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

wine() { "$DEMO_WIN_WINE64" "$@"; }

# wait_line FILE PATTERN [SECONDS]: until FILE has a line matching the extended expression.
wait_line() {
  local tries=$((${3:-30} * 20))
  for _ in $(seq "$tries"); do
    grep -Eq -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# The show's visible window ("adf", with the authoring mode's state after it); hidden ones are
# earlier processes of a reload, waiting for the one that replaced them.
show_window() { xdotool search --onlyvisible --name '^adf' 2>/dev/null | head -n 1; }
title() { local w; w=$(show_window); [[ -n $w ]] && xdotool getwindowname "$w"; }
wait_title() {
  for _ in $(seq 300); do
    title | grep -Eq -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
# Wine gives a plain window the keyboard once it is clicked; a full-screen one has it at once.
press() { xdotool mousemove 160 160 click 1 sleep 0.3 key "$@"; }

# escape_until_gone PID [plain]: Escape until the program has ended; a key may come before Wine has
# made the window active.
escape_until_gone() {
  for _ in 1 2 3; do
    if [[ ${2:-} == plain ]]; then press Escape; else xdotool mousemove 640 400 key Escape; fi
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  done
}

# Runs demo from DIR in the background with log DIR/LOG; sets run_pid and startup_ms, the time
# from the start to "Ready to use audio...", the line after which the first frame is drawn.
start_show() {
  local dir=$1 log=$2; shift 2
  local t0
  t0=$(ms_now)
  (cd "$dir" && exec timeout 120 "$@" >"$log" 2>&1) &
  run_pid=$!
  if wait_line "$dir/$log" '^Ready to use audio\.\.\.' 60; then startup_ms=$(($(ms_now) - t0)); else startup_ms=; fi
}

# ---- the show --------------------------------------------------------------------------------
start_show "$show" play.log "$DEMO_WIN_WINE64" demo.exe 640 400
wine_startup_ms=$startup_ms
lines_missing=
for line in 'Glew display created successfully!' 'Initializing audio...' ' ok.' 'Version [0-9]+' \
            'Ready to use audio...'; do
  # Console output in text mode ends its lines in CR LF.
  tr -d '\r' <"$show/play.log" | grep -Eq "^${line//./\\.}$" || lines_missing+=" '$line'"
done
[[ -z $lines_missing ]] &&
  pass "demo.exe 640 400 prints its start-up lines ($wine_startup_ms ms to the first frame)" ||
  fail "demo.exe 640 400: start-up lines missing:$lines_missing (log: $show/play.log)"
sleep 2
shot() { ffmpeg -v error -y -f x11grab -draw_mouse 0 -video_size 1280x800 -i "$DISPLAY" -frames:v 1 "$1"; }
shot "$test_dir/shot1.png"; sleep 1; shot "$test_dir/shot2.png"
lit=$(ffmpeg -v error -i "$test_dir/shot2.png" -vf scale=80:50 -f rawvideo -pix_fmt gray - | od -An -v -tu1 |
      awk '{ for (i = 1; i <= NF; i++) if ($i > m) m = $i } END { print m + 0 }')
if kill -0 "$run_pid" 2>/dev/null && ! cmp -s "$test_dir/shot1.png" "$test_dir/shot2.png" &&
   [[ ${lit:-0} -gt 64 ]]; then
  pass "demo.exe plays: the picture moves"
else
  fail "demo.exe does not play (running: $(kill -0 "$run_pid" 2>/dev/null && echo yes || echo no), brightest ${lit:-?})"
fi
escape_until_gone "$run_pid"
status=0; wait "$run_pid" || status=$?
[[ $status -eq 0 ]] && pass "Escape ends demo.exe with status 0" || fail "Escape: demo.exe ended with status $status"

start_show "$host/show" native.log ./demo 640 400
native_startup_ms=$startup_ms
sleep 1
escape_until_gone "$run_pid"
wait "$run_pid" || true

t0=$(ms_now)
status=0
(cd "$show" && timeout 60 "$DEMO_WIN_WINE64" demo.exe 640 400 --start 205 >end.log 2>&1) || status=$?
end_s=$(( ($(ms_now) - t0) / 1000 ))
if [[ $status -eq 0 ]] && grep -q '^Started at 205\.000 s' "$show/end.log"; then
  pass "demo.exe --start 205 ends with the music after ${end_s} s, status 0"
else
  fail "demo.exe --start 205: status $status (log: $show/end.log)"
fi

# ---- started from another folder, or with no data set anywhere ------------------------------
elsewhere=$test_dir/elsewhere alone=$test_dir/alone
mkdir -p "$elsewhere" "$alone"
cp "$show/demo.exe" "$alone/"
if tr -d '\r' <"$show/demo-log.txt" 2>/dev/null | grep -q '^Ready to use audio\.\.\.$' &&
   ! grep -q 'No data set' "$show/demo-log.txt"; then
  pass "demo-log.txt beside demo.exe keeps the lines of its last start"
else
  fail "demo-log.txt beside demo.exe lacks the start-up lines (log: $show/demo-log.txt)"
fi
# from_elsewhere EXE LOG: demo.exe by its full path from a folder without a data set.
from_elsewhere() {
  local status=0
  (cd "$elsewhere" && timeout 60 "$DEMO_WIN_WINE64" "$1" 320 180 --start 209.5 >"$2" 2>&1) || status=$?
  return "$status"
}
status=0
from_elsewhere "$show/demo.exe" "$test_dir/elsewhere.log" || status=$?
if [[ $status -eq 0 ]] && grep -q '^No data set in ".*": using the one beside the program' "$test_dir/elsewhere.log" &&
   ! grep -q 'not found!\|Cannot open music' "$test_dir/elsewhere.log"; then
  pass "demo.exe started from another folder plays the data set beside it: $(grep -m 1 '^No data set in' "$test_dir/elsewhere.log" | tr -d '\r')"
else
  fail "demo.exe from another folder: status $status (log: $test_dir/elsewhere.log)"
fi
status=0
from_elsewhere "$alone/demo.exe" "$test_dir/alone.log" || status=$?
if [[ $status -eq 1 ]] && grep -q '^No data set: neither ".*" nor ".*", the program.s folder' "$test_dir/alone.log" &&
   ! grep -q 'Glew display' "$test_dir/alone.log"; then
  pass "demo.exe with no data set anywhere says where it looked and ends with status 1"
else
  fail "demo.exe with no data set: status $status (log: $test_dir/alone.log)"
fi

# ---- the authoring mode: a save, R, a broken save refused, the fixed one reloaded ---------------
# The version copies live in the Wine prefix's temporary folder.
temp_copies() { find "$WINEPREFIX/drive_c" -maxdepth 8 -name 'demo-dev-*' 2>/dev/null | wc -l; }
dev_log=
starts() { grep -c '^Started at' "$dev_log" 2>/dev/null || true; }
wait_starts() {
  for _ in $(seq 900); do [[ $(starts) -ge $1 ]] && return 0; sleep 0.1; done
  return 1
}
# A key may come before Wine has made the window active: R again until it reloads.
reload_on_r() {
  local before
  before=$(grep -c '^Reloading the data set at ' "$dev_log")
  for _ in 1 2 3; do
    press r
    for _ in $(seq 100); do
      [[ $(grep -c '^Reloading the data set at ' "$dev_log") -gt $before ]] && return 0
      sleep 0.1
    done
  done
  return 1
}
# save_again FILE: writes the file's own bytes again, as an editor saving it unchanged does.
save_again() { cp "$1" "$1.saved" && cat "$1.saved" >"$1" && rm "$1.saved"; }

dev=$test_dir/dev
cp -r "$show" "$dev"
dev_log=$dev/dev.log
(cd "$dev" && exec timeout 180 "$DEMO_WIN_WINE64" demo.exe 320 180 --dev --start 60 >dev.log 2>&1) &
run_pid=$!
dev_ok=0 saved_ok=0
# The first process must reload on a save of its own, before any R has restarted it.
wait_title ' slot ' && save_again "$dev/data/flame.xsi" && wait_starts 2 && saved_ok=1 &&
  wait_title ' slot ' && reload_on_r && wait_starts 3 && wait_title ' slot ' &&
  cp "$dev/data/flame.xsi" "$dev/flame.good" && sed -i '0,/gl_FragColor/s//gl_FragColor @/' "$dev/data/flame.xsi" &&
  wait_line "$dev/dev.log" 'goes on with the version it has' && sleep 1 && kill -0 "$run_pid" &&
  cp "$dev/flame.good" "$dev/data/flame.xsi" && wait_starts 4 && wait_title ' slot ' && dev_ok=1
escape_until_gone "$run_pid" plain
status=0; wait "$run_pid" || status=$?
if ((dev_ok)) && [[ $status -eq 0 && $(starts) -eq 4 ]] &&
   grep -q 'flame.xsi, material flames: its GLSL program does not build' "$dev/dev.log"; then
  pass "demo.exe --dev reloads on a save, on R, refuses a broken shader, Escape ends it with status 0"
elif ((!saved_ok)); then
  fail "demo.exe --dev: a save did not reload the first process ($(starts) starts; log: $dev/dev.log)"
else
  fail "demo.exe --dev: status $status, $(starts) starts (log: $dev/dev.log)"
fi
# Every process of the run has ended once the first has; what it copied must be gone with it.
left=$(temp_copies)
[[ $left -eq 0 ]] && pass "demo.exe --dev leaves no version copies in %TEMP%" ||
  fail "demo.exe --dev left $left folders of version copies in %TEMP% ($(find "$WINEPREFIX/drive_c" -maxdepth 8 -name 'demo-dev-*' | head -n 1))"

# ---- the data check --------------------------------------------------------------------------
status=0
(cd "$show" && wine demo-check.exe . >check.log 2>&1) || status=$?
[[ $status -eq 0 ]] && grep -q 'the data set is clean' "$show/check.log" &&
  pass "demo-check.exe finds the data set clean" ||
  fail "demo-check.exe: status $status on the data set (log: $show/check.log)"

crlf=$test_dir/crlf
mkdir -p "$crlf"
cp -r "$show/data" "$show/biisi.mp3" "$crlf/"
sed -i 's/$/\r/' "$crlf"/data/*.xsi "$crlf"/data/*.XSI
status=0
wine "$show/demo-check.exe" "$crlf" >"$test_dir/crlf.log" 2>&1 || status=$?
[[ $status -eq 0 ]] && pass "demo-check.exe finds scene files with CR LF line ends clean" ||
  fail "demo-check.exe: status $status with CR LF scene files (log: $test_dir/crlf.log)"

damaged=$test_dir/damaged
mkdir -p "$damaged"
cp -r "$show/data" "$show/biisi.mp3" "$damaged/"
head -c 2000 "$show/data/cloudy.jpg" >"$damaged/data/cloudy.jpg"
status=0
wine "$show/demo-check.exe" "$damaged" >"$test_dir/damaged.log" 2>&1 || status=$?
[[ $status -eq 1 ]] && grep -q 'cloudy\.jpg' "$test_dir/damaged.log" &&
  pass "demo-check.exe names a damaged data/cloudy.jpg, status 1" ||
  fail "demo-check.exe on a damaged data set: status $status (log: $test_dir/damaged.log)"

# ---- frames against the native build's ------------------------------------------------------
times=9000,24000,42000,58000,75000,92000,103000,110000,141000,170000,184000,204000
capture_options=(--window glut --size 320x180 --fps 10 --at "$times")
status=0
t0=$(ms_now)
wine "$show/demo-capture.exe" --data "$show" "${capture_options[@]}" --out "$test_dir/frames-wine" \
  >"$test_dir/capture-wine.log" 2>&1 || status=$?
wine_capture_s=$(( ($(ms_now) - t0) / 100 ))
t0=$(ms_now)
"$host/demo-capture" --data "$host/show" "${capture_options[@]}" --out "$test_dir/frames-native" \
  >"$test_dir/capture-native.log" 2>&1 || status=$?
native_capture_s=$(( ($(ms_now) - t0) / 100 ))

# The golden frames' tolerance: 12 levels a channel, beyond that at most 0.5% of the pixels.
compared=0 identical=0 same_files=0 largest=0 worst_share=0 frames_ok=1
for t in ${times//,/ }; do
  a=$test_dir/frames-wine/frame-$t.png b=$test_dir/frames-native/frame-$t.png
  if [[ ! -f $a || ! -f $b ]]; then frames_ok=0; continue; fi
  beyond= biggest=
  read -r beyond biggest < <(ffmpeg -v error -i "$a" -i "$b" \
      -filter_complex '[0][1]blend=all_mode=difference,format=rgb24' -f rawvideo - | od -An -v -tu1 -w3 | awk '
      { m = $1; if ($2 > m) m = $2; if ($3 > m) m = $3; if (m > 12) n++; if (m > top) top = m }
      END { print n + 0, top + 0 }')
  if [[ -z ${biggest:-} ]]; then frames_ok=0; continue; fi
  compared=$((compared + 1))
  ((biggest == 0)) && identical=$((identical + 1))
  cmp -s "$a" "$b" && same_files=$((same_files + 1))
  ((biggest > largest)) && largest=$biggest
  share=$((beyond * 100000 / (320 * 180)))  # thousandths of a percent
  ((share > worst_share)) && worst_share=$share
  ((share > 500)) && frames_ok=0
done
worst=$((worst_share / 1000)).$(printf '%03d' $((worst_share % 1000)))
summary="$identical of $compared identical in their pixels ($same_files as PNG files), largest difference"
summary+=" $largest levels, worst frame $worst% beyond 12"
if [[ $status -eq 0 && $frames_ok -eq 1 && $compared -eq 12 ]]; then
  pass "demo-capture.exe frames match the native capture's: $summary"
else
  fail "demo-capture.exe frames: status $status, $summary (logs: $test_dir/capture-*.log)"
fi

status=0
wine "$show/demo-capture.exe" --window egl --data "$show" --size 160x90 --at 1000 --out "$test_dir/egl" \
  >"$test_dir/egl.log" 2>&1 || status=$?
[[ $status -ne 0 ]] && grep -q 'no EGL' "$test_dir/egl.log" &&
  pass "--window egl is refused: $(grep 'no EGL' "$test_dir/egl.log")" ||
  fail "--window egl: status $status (log: $test_dir/egl.log)"

# ---- video -----------------------------------------------------------------------------------
status=0
video_options=(--data "$show" --size 160x90 --fps 10 --from 0 --to 1000)
wine "$show/demo-capture.exe" "${video_options[@]}" --out "$test_dir/clip.mp4" >"$test_dir/video.log" 2>&1 ||
  status=$?
if [[ $status -ne 0 ]] && grep -q 'ffmpeg is not on PATH' "$test_dir/video.log" &&
   ! ls -A "$test_dir" | grep -q 'clip\.'; then
  pass "without ffmpeg.exe a video is refused and nothing is left behind"
else
  fail "video without ffmpeg.exe: status $status (log: $test_dir/video.log)"
fi
mkdir -p "$test_dir/sink"
cp "$project/tests/windows/frame_sink.exe" "$test_dir/sink/ffmpeg.exe"
sink_path="$(WINEDEBUG=-all "$DEMO_WIN_WINE64" winepath -w "$test_dir/sink" 2>/dev/null | tr -d '\r')"
status=0
WINEPATH=$sink_path wine "$show/demo-capture.exe" "${video_options[@]}" --out "$test_dir/clip.mp4" \
  >"$test_dir/sink.log" 2>&1 || status=$?
bytes=$(tr -d '\r' <"$test_dir/clip.mp4" 2>/dev/null || echo none)
[[ $status -eq 0 && $bytes == $((10 * 160 * 90 * 3)) ]] &&
  pass "the frames go through a pipe to ffmpeg.exe (a stand-in took all $bytes bytes)" ||
  fail "piping to ffmpeg.exe: status $status, $bytes bytes (log: $test_dir/sink.log)"
status=0
FRAME_SINK_TAKE=50000 WINEPATH=$sink_path wine "$show/demo-capture.exe" "${video_options[@]}" \
  --out "$test_dir/stopped.mp4" >"$test_dir/sink-stop.log" 2>&1 || status=$?
[[ $status -ne 0 ]] && grep -q 'ffmpeg stopped taking frames\|ffmpeg failed' "$test_dir/sink-stop.log" &&
  [[ ! -e $test_dir/stopped.mp4 && ! -e $test_dir/.stopped.mp4.partial.mp4 ]] &&
  pass "an ffmpeg.exe that gives up is reported and nothing is left:" \
       "$(grep -o 'ffmpeg [a-z0-9 ]*' "$test_dir/sink-stop.log" | tail -n 1)" ||
  fail "an ffmpeg.exe that gives up: status $status (log: $test_dir/sink-stop.log)"

# ---- folder names outside ASCII ---------------------------------------------------------------
# Every path the programs build, pass on or print, in a Latin and a Japanese name.
for name in "Mes démos" "デモ"; do
  place=$test_dir/$name/demo-win64
  mkdir -p "$test_dir/$name"
  cp -r "$show" "$place"
  rm -f "$place"/*.log "$place/demo-log.txt"
  problems=
  status=0
  (cd "$place" && timeout 60 "$DEMO_WIN_WINE64" demo.exe 320 180 --start 209.5 >play.log 2>&1) || status=$?
  [[ $status -eq 0 ]] && ! grep -q 'not found!\|Cannot' "$place/play.log" || problems+=" the show (status $status, play.log);"
  grep -q "^Started at 209.500 s" "$place/demo-log.txt" 2>/dev/null || problems+=" its demo-log.txt;"
  status=0
  from_elsewhere "$place/demo.exe" "$place/elsewhere.log" || status=$?
  [[ $status -eq 0 ]] && grep -q "^No data set in \".*\": using the one beside the program, in \".*$name.*demo-win64\"" \
    "$place/elsewhere.log" && ! grep -q 'not found!\|Cannot' "$place/elsewhere.log" ||
    problems+=" the show from elsewhere (status $status, elsewhere.log);"
  status=0
  (cd "$place" && wine demo-check.exe . >check.log 2>&1) || status=$?
  [[ $status -eq 0 ]] && grep -q 'the data set is clean' "$place/check.log" || problems+=" demo-check.exe . (status $status);"
  status=0
  (cd "$place" && wine demo-capture.exe --window glut --data . --size 160x90 --fps 10 --at 1000 --out frames \
     >capture.log 2>&1) || status=$?
  [[ $status -eq 0 && -s $place/frames/frame-1000.png ]] || problems+=" demo-capture.exe --out frames (status $status, capture.log);"
  dev_log=$place/dev.log
  (cd "$place" && exec timeout 180 "$DEMO_WIN_WINE64" demo.exe 320 180 --dev --start 60 >dev.log 2>&1) &
  run_pid=$!
  dev_ok=0
  wait_title ' slot ' && save_again "$place/data/flame.xsi" && wait_starts 2 && wait_title ' slot ' &&
    reload_on_r && wait_starts 3 && wait_title ' slot ' && dev_ok=1
  escape_until_gone "$run_pid" plain
  status=0; wait "$run_pid" || status=$?
  ((dev_ok)) && [[ $status -eq 0 ]] && ! grep -q 'Cannot' "$dev_log" ||
    problems+=" --dev with a save and R (status $status, $(starts) starts, dev.log);"
  if [[ -z $problems ]]; then
    pass "in \"$name\": the show from there and from elsewhere, --dev with a save and R, demo-check, demo-capture"
  else
    fail "in \"$name\":$problems (logs in $place)"
  fi
done
left=$(temp_copies)
[[ $left -eq 0 ]] || fail "the authoring runs in other folders left $left folders of version copies in %TEMP%"

echo
echo "Figures (Wine 8 on Xvfb, Mesa llvmpipe):"
echo "  start-up to the first frame, demo 640 400: Wine $wine_startup_ms ms, native $native_startup_ms ms"
tenths() { echo "$(($1 / 10)).$(($1 % 10))"; }
echo "  capture of the 12 frames (start-up included): Wine $(tenths "$wine_capture_s") s," \
     "native $(tenths "$native_capture_s") s"
echo "  frames: $summary"
echo "  no Windows ffmpeg.exe here: the video was piped to a stand-in, not encoded"
if ((failed)); then echo "test-windows: some checks failed"; exit 1; fi
echo "test-windows: all checks passed"
