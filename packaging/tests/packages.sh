#!/usr/bin/env bash
# The Debian packages, end to end: built by scripts/build-packages (dpkg-buildpackage, without
# tests or debug symbols), their fields and files checked, lintian --pedantic with no error and
# no warning, then installed, played, upgraded, removed and purged on fresh Debian 12 roots
# booted with systemd (installed_packages.sh, fresh_root.sh), one for each situation: no web
# server, Debian's nginx, and an nginx kept to loopback. Needs root; prints the packages'
# sizes, lintian's findings and the time each root took.
# Usage: packages.sh SOURCE_DIR BUILD_DIR DEB_DIR
set -euo pipefail
source_dir=$1 build=$2 debs=$3
here=$(dirname "${BASH_SOURCE[0]}")
((EUID == 0)) || { echo "packages: installing packages needs root" >&2; exit 1; }

mkdir -p "$debs"
build_log="$debs/build.log"
DEB_BUILD_OPTIONS="nocheck noddebs ${DEB_BUILD_OPTIONS:-}" \
  "$source_dir/scripts/build-packages" "$debs" >"$build_log" 2>&1 ||
  { tail -n 40 "$build_log"; echo "packages: the build failed; its log is $build_log" >&2; exit 1; }
echo "packages: built"
(cd "$debs" && stat -c '  %n: %s bytes' ./*.deb)

bash "$here/deb_fields.sh" "$debs" "$source_dir" "$build"

echo "packages: lintian --pedantic --display-info"
# Root is what CI runs as; lintian's note that it would rather not be is no finding.
lintian --pedantic --display-info --fail-on error,warning "$debs"/*.deb 2> >(
  grep -v 'running with root privileges is not recommended' >&2)
echo "packages: lintian found no error and no warning"

# shellcheck source=fresh_root.sh
source "$here/fresh_root.sh"
start=$SECONDS
tarball=$(root_base_tarball "$debs" "$source_dir")
echo "packages: base root $tarball ($((SECONDS - start)) s)"
work=$(mktemp -d /var/tmp/dravel-roots.XXXXXX)
trap 'rm -rf "$work"' EXIT
for situation in bare nginx loopback; do
  start=$SECONDS
  bash "$here/installed_packages.sh" "$situation" "$debs" "$source_dir" "$build" "$tarball" "$work"
  echo "packages: $situation root: $((SECONDS - start)) s"
done
