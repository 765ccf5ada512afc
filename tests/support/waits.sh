# Waiting for a condition in the tests' shell scripts (sourced). A deadline holds on a machine
# loaded many times over; one that runs out says on stderr what it waited for. DEMO_TEST_WAIT_S
# sets it (seconds).

wait_limit_s=${DEMO_TEST_WAIT_S:-120}

# wait_for WHAT COMMAND...: until COMMAND succeeds; WHAT names it when the deadline runs out.
wait_for() {
  wait_what=$1
  shift
  wait_end=$(($(date +%s) + wait_limit_s))
  until "$@"; do
    if [ "$(date +%s)" -ge "$wait_end" ]; then
      echo "waited ${wait_limit_s} s for $wait_what" >&2
      return 1
    fi
    sleep 0.1
  done
}

# log_has FILE PATTERN [COUNT]: whether FILE has COUNT lines matching the extended regular expression.
log_has() {
  log_count=$(grep -cE -- "$2" "$1" 2>/dev/null)
  [ "${log_count:-0}" -ge "${3:-1}" ]
}

# wait_log FILE PATTERN [COUNT]: until FILE has COUNT lines matching the pattern.
wait_log() { wait_for "${3:-1} line(s) matching '$2' in $1" log_has "$@"; }

# window_viewable XWININFO-ARGS...: whether xwininfo finds the window mapped and shown.
window_viewable() { xwininfo "$@" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# window_is "X Y WIDTH HEIGHT" XWININFO-ARGS...: whether xwininfo finds the window placed so.
window_is() {
  want=$1
  shift
  [ "$(xwininfo "$@" 2>/dev/null | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
       /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x " " y " " w " " h }')" = "$want" ]
}

# wait_window "X Y WIDTH HEIGHT" XWININFO-ARGS...: until the window is placed so.
wait_window() {
  wait_want=$1
  shift
  wait_for "the window ($*) at $wait_want (x y width height)" window_is "$wait_want" "$@" || {
    echo "  xwininfo $*: $(xwininfo "$@" 2>&1 | grep -E 'Absolute|Width|Height|error' | tr -s ' \n' ' ')" >&2
    return 1
  }
}
