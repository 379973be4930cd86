#!/usr/bin/env bash
# cpack -G DEB makes qovex-dravel with the dependencies dpkg-shlibdeps computes, the Qt
# platform plugins that it cannot see, and the installed files.
# Usage: deb_package.sh CPACK BUILD_DIR APP_ID VERSION
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
cpack=$1 build=$2 id=$3 version=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "FAILED: cpack"; exit 1; }
deb=$(find "$out" -maxdepth 1 -name '*.deb')
[[ $(grep -c . <<<"$deb") == 1 && -f $deb ]] || { echo "FAILED: no single .deb in $out"; exit 1; }
echo "package: $(basename "$deb")"
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
echo "Depends: $depends"

check "the package is qovex-dravel" test "$(field Package)" = qovex-dravel
check "its version is the project's" test "$(field Version)" = "$version"
check "its section is games" test "$(field Section)" = games
check "its maintainer is Qovex" test "$(field Maintainer)" = Qovex
# dpkg-shlibdeps gives each library the least version that the program needs.
computed() { tr ',' '\n' <<<"$depends" | grep -qE "^ *$1 \(>= [0-9]"; }
for package in libqt6widgets6 libqt6gui6 libcurl4 libjpeg62-turbo libc6; do
  check "it depends on $package, computed" computed "$package"
done
unversioned() { tr ',' '\n' <<<"$depends" | grep -qx " *$1"; }
check "it depends on qt6-qpa-plugins" unversioned qt6-qpa-plugins
listed() {
  dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./usr/||' | sort
}
check "it holds the installed files" diff <(installed_files "$id") <(listed)
stripped() { dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/qovex-dravel | file - | grep -q ', stripped'; }
check "the program in it is stripped" stripped
finish
