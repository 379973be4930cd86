# Shared by the packaging tests: the named checks, and what an install must hold.
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/support/checks.sh"

finish() {
  ((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
}

# Every file that an install puts in place, sorted, for the prefix and configuration folder
# given: the program, its desktop files, manual page and icons, the content pack of the build
# folder, the nginx site and the own server's configuration that serve it, and dravel-content
# with its manual page.
# Usage: installed_files APP_ID PREFIX SYSCONFDIR BUILD_DIR
installed_files() {
  local id=$1 prefix=$2 sysconf=$3 build=$4 size folder
  # shellcheck source=/dev/null
  folder=$(source "$build/content-layout.env" && echo "$DRAVEL_CONTENT_FOLDER")
  {
    echo "$prefix/games/qovex-dravel"
    echo "$prefix/bin/dravel-content"
    echo "$prefix/share/man/man1/dravel-content.1"
    echo "$prefix/share/applications/$id.desktop"
    for size in 16 22 24 32 48 64 128 256; do
      echo "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
    done
    echo "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
    echo "$prefix/share/icons/hicolor/symbolic/apps/$id-symbolic.svg"
    echo "$prefix/share/man/man6/qovex-dravel.6"
    echo "$prefix/share/metainfo/$id.metainfo.xml"
    echo "$sysconf/nginx/sites-available/qovex-dravel-content"
    echo "$sysconf/qovex-dravel-content/httpd.conf"
    (cd "$build/content-pack" && find . -type f) | sed "s|^\.|$prefix/share/qovex-dravel-content|"
  } | sort
}

