# Sourced: remove_wine_server_dir PREFIX removes the folder Wine keeps under /tmp for the server of
# that prefix (/tmp/wine-XXXXXX/server-DEV-INODE), once its server has ended; Wine leaves one for
# every prefix it has run.
remove_wine_server_dir() {
  local name dir
  [[ -d $1 ]] || return 0
  name=$(printf 'server-%x-%x' $((16#$(stat -c %D "$1"))) "$(stat -c %i "$1")")
  for dir in "${TMPDIR:-/tmp}"/wine-*/"$name"; do
    [[ -d $dir ]] || continue
    rm -rf "$dir"
    rmdir "$(dirname "$dir")" 2>/dev/null || true
  done
}
