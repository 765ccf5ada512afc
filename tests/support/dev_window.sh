# Driving the show's authoring mode through its window under Xvfb (sourced by the program tests).
# The title reads "adf  83.250 s  slot 2  16.7 ms[  paused][  checking data]".

title() { xdotool search --name '^adf  ' getwindowname 2>/dev/null | head -n 1; }

seconds() { title | sed -nE 's/^adf  ([0-9]+\.[0-9]+) s.*/\1/p'; }

# Without a window manager the focus follows the pointer: keys go to the window under it.
press() { xdotool mousemove 100 100 key "$@"; }

# wait_title PATTERN: until the title matches the extended regular expression (20 s at most).
wait_title() {
  for _ in $(seq 200); do
    title | grep -Eq -- "$1" && return 0
    sleep 0.1
  done
  echo "no title matching '$1' (last: '$(title)')"
  return 1
}

# wait_moved SECONDS: until the title's time is another one; prints it.
wait_moved() {
  for _ in $(seq 200); do
    now=$(seconds)
    if [ -n "$now" ] && [ "$now" != "$1" ]; then echo "$now"; return 0; fi
    sleep 0.1
  done
  echo "stuck at $1"
  return 1
}

# wait_log FILE PATTERN [COUNT]: until FILE has COUNT lines matching the pattern (40 s at most).
wait_log() {
  for _ in $(seq 400); do
    [ "$(grep -cE -- "$2" "$1")" -ge "${3:-1}" ] && return 0
    sleep 0.1
  done
  echo "no '$2' in $1"
  return 1
}
