#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators and name the game alike;
# the metainfo has notes for every release that debian/changelog lists, and its screenshot is
# the README's.
# Usage: validate.sh DESKTOP_FILE METAINFO_FILE APP_ID VERSION SOURCE_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
desktop=$1 metainfo=$2 id=$3 version=$4 source_dir=$5

entry() { sed -n "s/^$1=//p" "$desktop"; }
tag() { sed -n "s|.*<$1>\(.*\)</$1>.*|\1|p" "$metainfo" | head -n 1; }

check "desktop-file-validate passes" desktop-file-validate "$desktop"
check "appstreamcli validate --pedantic passes" appstreamcli validate --pedantic --no-net "$metainfo"
check "the desktop file is named by the id" test "$(basename "$desktop")" = "$id.desktop"
check "the metainfo id is the desktop file id" test "$(tag id)" = "$id"
check "the metainfo launches the desktop file" \
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "both name the game alike" test "$(entry Name)" = "$(tag name)"
check "the entry runs the program" test "$(entry Exec)" = qovex-dravel
check "the entry's icon is the installed icon's name" test "$(entry Icon)" = "$id"
metainfo_keywords() { sed -n 's|.*<keyword>\(.*\)</keyword>.*|\1|p' "$metainfo" | sort; }
check "both give the same keywords" \
  diff <(entry Keywords | tr ';' '\n' | sed '/^$/d' | sort) <(metainfo_keywords)

# Each release as "VERSION DATE", newest first.
metainfo_releases() {
  sed -n 's|.*<release version="\([^"]*\)" date="\([^"]*\)".*|\1 \2|p' "$metainfo"
}
changelog_releases() {
  dpkg-parsechangelog -l "$source_dir/debian/changelog" --all --format rfc822 |
    awk '/^Version:/ { v = $2 } /^Date:/ { sub(/^Date: /, ""); print v, $0 }' |
    while read -r v date; do echo "$v $(date -u -d "$date" +%F)"; done
}
# A release of the packages alone adds "+N" to the program's version.
newest=$(metainfo_releases | head -n 1 | cut -d' ' -f1)
check "the newest release is the program's version, or a packaging release of it" \
  test "${newest%+*}" = "$version"
check "the metainfo's releases are debian/changelog's, with their dates" \
  diff <(changelog_releases) <(metainfo_releases)
releases_with_notes() {
  awk '/<release / { open = 1; notes = 0 } open && /<description>/ { notes = 1 }
       /<\/release>/ { open = 0; if (notes) n++ } END { print n + 0 }' "$metainfo"
}
check "every release has notes" test "$(releases_with_notes)" = "$(metainfo_releases | wc -l)"

screenshot="$source_dir/docs/screenshot.png"
image=$(grep -o '<image [^>]*>[^<]*</image>' "$metainfo" | head -n 1)
check "the README shows the metainfo's screenshot" \
  grep -qF "]($(sed 's|.*/\(docs/[^<]*\)</image>|\1|' <<<"$image"))" "$source_dir/README.md"
check "the screenshot's size is the picture's" \
  test "$(sed 's/.*width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/' <<<"$image")" = \
  "$(identify -format '%w %h' "$screenshot")"
finish
