#!/usr/bin/env bash
# What the two .deb files say and hold: names, version, sections and the team as maintainer;
# the dependencies dpkg-shlibdeps computes plus the Qt platform plugins it cannot see, and the
# recommended content and Wayland plugin; a hardened, stripped program in /usr/games; and
# together every file an install makes, with the site link and the documentation.
# Usage: deb_fields.sh DEB_DIR SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
debs=$1 source_dir=$2 build=$3
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
maintainer=$(sed -n 's/^Maintainer: //p' "$source_dir/debian/control")
game_deb="$debs/qovex-dravel_${version}_$(dpkg --print-architecture).deb"
content_deb="$debs/qovex-dravel-content_${version}_all.deb"
for deb in "$game_deb" "$content_deb"; do
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

for deb in "$game_deb" "$content_deb"; do
  name=$(field "$deb" Package)
  check "$name: version $version, from debian/changelog" test "$(field "$deb" Version)" = "$version"
  check "$name: section games" test "$(field "$deb" Section)" = games
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
for package in nginx iproute2; do
  check "qovex-dravel-content depends on $package" relates "$content_deb" "$package" Depends plain
done

# Each package's files; a link as "PATH -> TARGET". The manual page is compressed.
listed() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; print }' | sed 's/^ *\.//'; }
id=$(basename "$source_dir"/packaging/*.desktop .desktop)
installed_files "$id" /usr /etc "$build" | sed 's|/man6/qovex-dravel\.6$|&.gz|' >"$scratch/files"
documents() { printf '/usr/share/doc/%s/changelog.gz\n/usr/share/doc/%s/copyright\n' "$1" "$1"; }
expected_game() { grep -v /qovex-dravel-content "$scratch/files"; documents qovex-dravel; }
expected_content() {
  grep /qovex-dravel-content "$scratch/files"
  echo "/etc/nginx/sites-enabled/qovex-dravel-content -> ../sites-available/qovex-dravel-content"
  documents qovex-dravel-content
}
check "qovex-dravel holds the program in /usr/games, its desktop files, manual and icons" \
  diff <(expected_game | sort) <(listed "$game_deb" | sort)
check "qovex-dravel-content holds the pack, the nginx site and its enabling link" \
  diff <(expected_content | sort) <(listed "$content_deb" | sort)

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
