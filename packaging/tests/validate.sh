#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators and name the game alike.
# Usage: validate.sh DESKTOP_FILE METAINFO_FILE APP_ID VERSION
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
desktop=$1 metainfo=$2 id=$3 version=$4

entry() { sed -n "s/^$1=//p" "$desktop"; }
tag() { sed -n "s|.*<$1>\(.*\)</$1>.*|\1|p" "$metainfo" | head -n 1; }

check "desktop-file-validate passes" desktop-file-validate "$desktop"
check "appstreamcli validate passes" appstreamcli validate --no-net "$metainfo"
check "the desktop file is named by the id" test "$(basename "$desktop")" = "$id.desktop"
check "the metainfo id is the desktop file id" test "$(tag id)" = "$id"
check "the metainfo launches the desktop file" \
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "the release is the project's version" grep -qF "<release version=\"$version\"" "$metainfo"
check "both name the game alike" test "$(entry Name)" = "$(tag name)"
check "the entry runs the program" test "$(entry Exec)" = qovex-dravel
check "the entry's icon is the installed icon's name" test "$(entry Icon)" = "$id"
finish
