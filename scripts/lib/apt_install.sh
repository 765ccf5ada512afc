# Sourced by the scripts that install Debian packages: apt_install PACKAGE... installs the missing
# ones as root (through sudo when needed) and waits, rather than failing, while another apt or
# dpkg holds the package lock (an unattended upgrade, a second clone's install).

# apt_missing PACKAGE...: prints the ones that are not installed, one a line.
apt_missing() {
  local p status
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || echo "$p"
  done
}

# The longest wait for a lock another apt holds, in seconds.
apt_lock_wait_s=${DEMO_APT_LOCK_WAIT_S:-1800}

_apt_as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"
  else
    command -v sudo >/dev/null || { echo "Need root or sudo to run: $*" >&2; return 1; }
    sudo "$@"
  fi
}

# Runs an apt-get command, again while its failure was a lock held by someone else.
_apt_get_waiting() {
  local deadline=$((SECONDS + apt_lock_wait_s)) log rc said=0
  log=$(mktemp)
  while :; do
    rc=0
    _apt_as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$apt_lock_wait_s" "$@" \
      2>"$log" || rc=$?
    cat "$log" >&2
    if [[ $rc -ne 0 ]] && grep -q 'Could not get lock\|Unable to lock\|is another process using it' "$log" &&
       ((SECONDS < deadline)); then
      ((said)) || echo "Another apt holds the package lock: waiting for it (up to $apt_lock_wait_s s)." >&2
      said=1
      sleep 5
      continue
    fi
    rm -f "$log"
    return "$rc"
  done
}

apt_install() {
  local missing
  mapfile -t missing < <(apt_missing "$@")
  [[ ${#missing[@]} -eq 0 ]] && return 0
  echo "Installing missing packages: ${missing[*]}"
  _apt_get_waiting update -qq &&
    _apt_get_waiting install -y -qq --no-install-recommends "${missing[@]}"
}
