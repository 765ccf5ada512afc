# Sourced by the long build scripts: say prints a line with the seconds since the script began
# under the caller's say_name ("[web   12.3s] ..."), die ends the script with a message.
progress_started=$(date +%s%3N)
say() {
  local ms=$(($(date +%s%3N) - progress_started))
  printf '[%s %4d.%01ds] %s\n' "$say_name" $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}
die() { echo "$(basename "$0" .sh): $*" >&2; exit 1; }
