#!/usr/bin/env bash
# The Debian packages, end to end: built by scripts/build-packages (dpkg-buildpackage, without
# tests or debug symbols), their fields and files checked, lintian --pedantic with no error and
# no warning, then installed, played, reinstalled and purged on this machine
# (installed_packages.sh) in network and mount namespaces of its own, so that its nginx on
# port 80 meets no other server and what it mounts stays its own. Needs root; prints the packages' sizes and lintian's findings.
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

# The system's nginx and the packages are shared by the whole machine: one run at a time.
flock /tmp/dravel-system-nginx.lock unshare -m -n bash -c 'ip link set lo up && exec "$@"' - \
  bash "$here/installed_packages.sh" "$debs" "$source_dir" "$build"
