# Driving the show's authoring mode through its window under Xvfb (sourced by the program tests,
# after waits.sh). The title reads "adf  83.250 s  slot 2  16.7 ms[  paused][  checking data]".

title() { xdotool search --name '^adf  ' getwindowname 2>/dev/null | head -n 1; }

seconds() { title | sed -nE 's/^adf  ([0-9]+\.[0-9]+) s.*/\1/p'; }

# Without a window manager the focus follows the pointer: keys go to the window under it.
press() { xdotool mousemove 100 100 key "$@"; }

title_matches() { title | grep -Eq -- "$1"; }

# wait_title PATTERN: until the title matches the extended regular expression.
wait_title() {
  wait_for "a title matching '$1'" title_matches "$1" || { echo "  the last title: '$(title)'" >&2; return 1; }
}

seconds_moved_from() {
  moved_to=$(seconds)
  [ -n "$moved_to" ] && [ "$moved_to" != "$1" ]
}

# wait_moved SECONDS: until the title's time is another one; prints it.
wait_moved() { wait_for "the title's time to move from $1 s" seconds_moved_from "$1" && echo "$moved_to"; }
