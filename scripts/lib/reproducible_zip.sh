# Sourced by the release scripts: reproducible_zip STAGE ZIP EPOCH packs the folder STAGE as one
# top-level folder of ZIP with the same bytes from every clone of a commit: entries in one order,
# the time EPOCH on each, the same modes whatever the umask (exes 755), no extra attributes.
reproducible_zip() {
  local stage=$1 zipfile=$2 epoch=$3
  find "$stage" -type d -exec chmod 755 {} + -o -type f -name '*.exe' -exec chmod 755 {} + \
    -o -type f -exec chmod 644 {} +
  find "$stage" -exec touch -h -d "@$epoch" {} +
  rm -f "$zipfile"
  (cd "$(dirname "$stage")" && find "$(basename "$stage")" -print | LC_ALL=C sort |
     TZ=UTC zip -q -X -@ "$zipfile")
}
