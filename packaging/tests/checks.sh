# Shared by the packaging tests: the named checks, and what an install must hold.
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/support/checks.sh"

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
