# Shared by the packaging tests: named checks that count their failures.
failures=0

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

finish() {
  ((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
}

# The list of files that an install of the game puts under the prefix.
installed_files() {
  local id=$1
  printf '%s\n' \
    bin/qovex-dravel \
    "share/applications/$id.desktop" \
    "share/icons/hicolor/256x256/apps/$id.png" \
    "share/icons/hicolor/48x48/apps/$id.png" \
    "share/metainfo/$id.metainfo.xml"
}
