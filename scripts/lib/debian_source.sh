# Sourced by the scripts that build libraries from Debian's source packages (the Windows and the
# web builds): fetch_source NAME=VERSION downloads and unpacks one through an apt list, state and
# cache of their own, so the system's apt configuration is never touched. The caller sets
# debian_cache (the folder that keeps the apt state and the unpacked sources), optionally
# debian_mirror, and defines say and die.

# The bookworm mirror this machine already uses, from one-line or deb822 source lists.
system_mirror() {
  local f found=()
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -r $f ]] || continue
    mapfile -t -O "${#found[@]}" found < <(awk '$1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) != "bookworm") next
        for (j = i + 2; j <= NF; j++) if ($j == "main") { print $i; next }
      }' "$f")
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -r $f ]] || continue
    mapfile -t -O "${#found[@]}" found < <(awk 'BEGIN { RS = ""; FS = "\n" }
      {
        types = uris = suites = comps = ""; enabled = "yes"
        for (k = 1; k <= NF; k++) {
          line = $k
          if (line ~ /^[ \t]*#/) continue
          key = tolower(line); sub(/:.*/, "", key)
          val = line; sub(/^[^:]*:[ \t]*/, "", val)
          if (key == "types") types = val; else if (key == "uris") uris = val
          else if (key == "suites") suites = val; else if (key == "components") comps = val
          else if (key == "enabled") enabled = tolower(val)
        }
        if (enabled == "no" || (" " types " ") !~ / deb / || (" " suites " ") !~ / bookworm / \
            || (" " comps " ") !~ / main /) next
        split(uris, u, /[ \t]+/); print u[1]
      }' "$f")
  done
  if [[ ${#found[@]} -gt 0 ]]; then echo "${found[0]}"; else echo http://deb.debian.org/debian; fi
}

# apt with a list, state and cache of its own: the system's configuration is never touched.
private_apt() {
  local apt_dir=$debian_cache/apt
  local opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
              -o "Dir::State=$apt_dir/state" -o "Dir::Cache=$apt_dir/cache")
  # Downloads land in a folder of ours that apt's sandbox user cannot write.
  [[ $(id -u) -eq 0 ]] && opts+=(-o APT::Sandbox::User=root)
  "$1" "${opts[@]}" "${@:2}"
}

apt_ready=0
prepare_private_apt() {
  ((apt_ready)) && return 0
  local mirror=${debian_mirror:-$(system_mirror)} signed="" apt_dir=$debian_cache/apt
  [[ -r /usr/share/keyrings/debian-archive-keyring.gpg ]] &&
    signed="[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] "
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
  echo "deb-src ${signed}$mirror bookworm main" >"$apt_dir/sources.list"
  say "apt-get update (private list: $mirror bookworm, source)"
  private_apt apt-get update -qq >/dev/null
  apt_ready=1
}

# Checks the files a .dsc lists against its SHA-256 sums. The .dsc itself was checked by apt
# against the signed index; an upstream signature (.asc) the mirror does not serve is skipped.
verify_dsc() {
  local dsc=$1 dir sum name ok=1
  dir=$(dirname "$dsc")
  while read -r sum _ name; do
    if [[ ! -e $dir/$name ]]; then
      [[ $name == *.asc ]] && continue
      echo "missing $name" >&2; ok=0; continue
    fi
    echo "$sum  $dir/$name" | sha256sum --quiet -c - || ok=0
  done < <(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3 { print }' "$dsc")
  ((ok))
}

# Unpacks (once) the Debian source of NAME=VERSION, patches applied, into $source_dir.
source_dir=
fetch_source() {
  local pkg=${1%%=*} ver=${1#*=}
  local dir=$debian_cache/src/$pkg-$ver dl=$debian_cache/src/dl
  if [[ ! -f $dir/.unpacked ]]; then
    prepare_private_apt
    mkdir -p "$dl"
    say "apt-get source $pkg=$ver"
    # mpg123's upstream signature is not served: apt then fails although the parts it needs
    # are there, so judge the download by the .dsc's own checksums.
    (cd "$dl" && private_apt apt-get source -qq --download-only "$pkg=$ver" >/dev/null 2>&1) || true
    local dsc=$dl/${pkg}_${ver#*:}.dsc
    [[ -f $dsc ]] || die "could not download the source of $pkg=$ver"
    verify_dsc "$dsc" || die "the source files of $pkg=$ver do not match their checksums"
    rm -rf "$dir"
    # The files were checked above; dpkg-source has no keyring to check the signature with.
    dpkg-source -q --no-check -x "$dsc" "$dir" >/dev/null
    touch "$dir/.unpacked"
  fi
  source_dir=$dir
}

