#!/usr/bin/env bash
# cmake --install into a scratch DESTDIR puts the program, the desktop entry, both icons and
# the metainfo where the desktop expects them, and nothing else.
# Usage: install_tree.sh CMAKE BUILD_DIR APP_ID ICON_SOURCE
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
cmake=$1 build=$2 id=$3 icon_source=$4
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage/root" "$cmake" --install "$build" --prefix /usr >"$stage/install.log" 2>&1 ||
  { cat "$stage/install.log"; echo "FAILED: cmake --install"; exit 1; }
root="$stage/root/usr"
icons="$root/share/icons/hicolor"

check "every file in place, nothing more" \
  diff <(installed_files "$id") <(cd "$root" && find . -type f | sed 's|^\./||' | sort)
check "the program can be run" test -x "$root/bin/qovex-dravel"

png_size() { file -b "$1" | grep -q "^PNG image data, $2 x $2,"; }
same_pixels() { compare -metric AE "$1" "$2" null: 2>/dev/null; }
check "the 48 x 48 icon is a PNG of that size" png_size "$icons/48x48/apps/$id.png" 48
check "the 256 x 256 icon is a PNG of that size" png_size "$icons/256x256/apps/$id.png" 256
check "the 48 x 48 icon has the very pixels of the program's icon" \
  same_pixels "$icon_source" "$icons/48x48/apps/$id.png"
# Whole-pixel blocks: the small icon five times as large, centred in a clear margin.
convert "$icons/48x48/apps/$id.png" -filter point -resize 240x240 -background none \
  -gravity center -extent 256x256 "$stage/blocks.png"
check "the 256 x 256 icon is the same picture in sharp 5 x 5 blocks" \
  same_pixels "$stage/blocks.png" "$icons/256x256/apps/$id.png"

# setDesktopFileName gets the id as a UTF-16 literal.
carries_id() {
  perl -0777 -ne 'BEGIN { $id = join "", map { "$_\0" } split //, shift } exit(index($_, $id) < 0)' \
    "$id" "$root/bin/qovex-dravel"
}
check "the program names itself by the desktop file id" carries_id
check "appstreamcli validate-tree passes" appstreamcli validate-tree --no-net "$root"
finish
