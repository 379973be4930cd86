#!/usr/bin/env bash
# What the three .deb files say and hold: names, version, sections and the team as maintainer;
# the dependencies dpkg-shlibdeps computes plus the Qt platform plugins it cannot see, and the
# recommended content and Wayland plugin; a content package that brings no network server
# and no site link of its own; a hardened, stripped program in /usr/games; and together every
# file an install makes, with the documentation.
# Usage: deb_fields.sh DEB_DIR SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
debs=$1 source_dir=$2 build=$3
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
maintainer=$(sed -n 's/^Maintainer: //p' "$source_dir/debian/control")
game_deb="$debs/qovex-dravel_${version}_$(dpkg --print-architecture).deb"
content_deb="$debs/qovex-dravel-content_${version}_all.deb"
tools_deb="$debs/qovex-dravel-tools_${version}_$(dpkg --print-architecture).deb"
for deb in "$game_deb" "$content_deb" "$tools_deb"; do
  [[ -f $deb ]] || { echo "FAILED: no $deb"; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

field() { dpkg-deb -f "$1" "$2"; }
relations() { field "$1" "$2" | tr ',' '\n' | sed 's/^ *//'; }
# A relation to the package with a version, "least" (>= V), or none, "plain".
relates() {
  local deb=$1 name=$2 field_name=$3 kind=$4
  case $kind in
    least) relations "$deb" "$field_name" | grep -qE "^$name \(>= [0-9]" ;;
    plain) relations "$deb" "$field_name" | grep -qx "$name" ;;
  esac
}

for deb in "$game_deb" "$content_deb" "$tools_deb"; do
  name=$(field "$deb" Package)
  check "$name: version $version, from debian/changelog" test "$(field "$deb" Version)" = "$version"
  section=games
  [[ $name == qovex-dravel-tools ]] && section=utils
  check "$name: section $section" test "$(field "$deb" Section)" = "$section"
  check "$name: maintained by $maintainer" test "$(field "$deb" Maintainer)" = "$maintainer"
  check "$name: the maintainer has an address" grep -qE '^[^<]+ <[^@ ]+@[^@ ]+>$' <<<"$maintainer"
done
check "qovex-dravel is built for this machine" \
  test "$(field "$game_deb" Architecture)" = "$(dpkg --print-architecture)"
check "qovex-dravel-content is for every machine" test "$(field "$content_deb" Architecture)" = all
for library in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 libjpeg62-turbo libc6; do
  check "qovex-dravel depends on $library, computed" relates "$game_deb" "$library" Depends least
done
check "qovex-dravel depends on qt6-qpa-plugins" relates "$game_deb" qt6-qpa-plugins Depends plain
for package in qovex-dravel-content qt6-wayland; do
  check "qovex-dravel recommends $package" relates "$game_deb" "$package" Recommends plain
done
# The own server's program alone: apache2-bin has no service, no site and no maintainer script.
for package in apache2-bin iproute2; do
  check "qovex-dravel-content depends on $package" relates "$content_deb" "$package" Depends plain
done
check "qovex-dravel-content depends on no nginx and no web server package" \
  bash -c "! dpkg-deb -f '$content_deb' Depends Pre-Depends Recommends | grep -qE 'nginx|apache2([^-]|$)|httpd|lighttpd'"
check "qovex-dravel-content triggers on nginx's coming and going" \
  bash -c "dpkg-deb --ctrl-tarfile '$content_deb' | tar -xO ./triggers | grep -qx 'interest-noawait /usr/sbin/nginx'"
check "qovex-dravel-tools depends on Qt's GUI library, computed" relates "$tools_deb" libqt6gui6 Depends least

# Each package's files; a link as "PATH -> TARGET". The manual pages are compressed.
listed() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; print }' | sed 's/^ *\.//'; }
id=$(basename "$source_dir"/packaging/*.desktop .desktop)
installed_files "$id" /usr /etc "$build" | sed -E 's#/man(6/qovex-dravel\.6|1/dravel-content\.1)$#&.gz#' \
  >"$scratch/files"
documents() { printf '/usr/share/doc/%s/changelog.gz\n/usr/share/doc/%s/copyright\n' "$1" "$1"; }
expected_game() { grep -vE '/qovex-dravel-content|dravel-content' "$scratch/files"; documents qovex-dravel; }
expected_content() {
  grep /qovex-dravel-content "$scratch/files"
  echo /lib/systemd/system/qovex-dravel-content.service
  documents qovex-dravel-content
}
expected_tools() { grep /dravel-content "$scratch/files" | grep -v /qovex-dravel-content; documents qovex-dravel-tools; }
check "qovex-dravel holds the program in /usr/games, its desktop files, manual and icons" \
  diff <(expected_game | sort) <(listed "$game_deb" | sort)
check "qovex-dravel-content holds the pack, the nginx site, the own server and its unit, no link" \
  diff <(expected_content | sort) <(listed "$content_deb" | sort)
check "qovex-dravel-tools holds dravel-content and its manual page" \
  diff <(expected_tools | sort) <(listed "$tools_deb" | sort)

dpkg-deb -x "$game_deb" "$scratch/game"
dpkg-deb -x "$content_deb" "$scratch/content"
program="$scratch/game/usr/games/qovex-dravel"
check "the program is stripped" bash -c "file -b '$program' | grep -q ', stripped'"
check "the program is position-independent" bash -c "readelf -h '$program' | grep -q 'Type: *DYN'"
check "the program's relocations are read-only after start" \
  bash -c "readelf -lW '$program' | grep -q GNU_RELRO"
check "the program binds every symbol at start" \
  bash -c "readelf -dW '$program' | grep -qE 'BIND_NOW|FLAGS.*NOW'"
check "the program is built with the stack protector" \
  bash -c "readelf -sW --dyn-syms '$program' | grep -q __stack_chk_fail"
# shellcheck source=/dev/null
source "$build/content-layout.env"
check "the packaged scheme file is the one the build generates" \
  cmp -s "$scratch/content/usr/share/qovex-dravel-content/$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE" \
  "$build/content-pack/$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE"
finish
