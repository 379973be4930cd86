#!/usr/bin/env bash
# cmake --install into a scratch DESTDIR puts every file where the desktop, man and nginx look
# for it, and nothing else: the program names itself by the desktop file id, the manual page
# renders cleanly and names the game's content server, and the nginx site serves the pack
# from where it was installed, to the game's host name only, and passes nginx's own test.
# Usage: install_tree.sh CMAKE BUILD_DIR APP_ID PREFIX SYSCONFDIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
cmake=$1 build=$2 id=$3 prefix=$4 sysconf=$5
# shellcheck source=/dev/null
source "$build/content-layout.env"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage/root" "$cmake" --install "$build" >"$stage/install.log" 2>&1 ||
  { cat "$stage/install.log"; echo "FAILED: cmake --install"; exit 1; }
root="$stage/root"

check "every file in place, nothing more" \
  diff <(installed_files "$id" "$prefix" "$sysconf" "$build") \
  <(cd "$root" && find . -type f | sed 's|^\.||' | sort)
check "the program can be run" test -x "$root$prefix/games/qovex-dravel"
# setDesktopFileName gets the id as a UTF-16 literal.
carries_id() {
  perl -0777 -ne 'BEGIN { $id = join "", map { "$_\0" } split //, shift } exit(index($_, $id) < 0)' \
    "$id" "$root$prefix/games/qovex-dravel"
}
check "the program names itself by the desktop file id" carries_id
check "appstreamcli validate-tree passes" appstreamcli validate-tree --no-net "$root$prefix"

# ---- The manual page ----
page="$root$prefix/share/man/man6/qovex-dravel.6"
man --warnings -E UTF-8 -l -Tutf8 -Z "$page" >/dev/null 2>"$stage/man.warnings"
check "the manual page renders without a warning" test ! -s "$stage/man.warnings"
cat "$stage/man.warnings"
MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | col -b >"$stage/man.txt"
says() { grep -qF -- "$1" "$stage/man.txt"; }
base_url="http://$DRAVEL_CONTENT_HOST/$DRAVEL_CONTENT_FOLDER/"
check "it names the content server, $base_url" says "$base_url"
check "it says the game has no options" says "has no options"
check "it gives the message shown without a server" \
  says "Hello! No data from $DRAVEL_CONTENT_HOST! Be connected!"
check "it names the installed pack" says "$prefix/share/qovex-dravel-content/$DRAVEL_CONTENT_FOLDER/"

# ---- The nginx site ----
site="$root$sysconf/nginx/sites-available/qovex-dravel-content"
directive() { sed -n "s/^ *$1 \(.*\);$/\1/p" "$site"; }
port=80
[[ $DRAVEL_CONTENT_HOST =~ :([0-9]+)$ ]] && port=${BASH_REMATCH[1]}
check "it serves the installed pack" \
  test "$(directive root)" = "\"$prefix/share/qovex-dravel-content\""
check "it answers to the game's host name" test "$(directive server_name)" = "$DRAVEL_CONTENT_HOST_NAME"
# As Debian's default site listens, but never as the default server: it takes no request
# that names another host away from any other site.
check "it listens on port $port of every address, IPv4 and IPv6, as no default server" \
  test "$(directive listen | tr '\n' ' ')" = "$port [::]:$port "
check "it lets in loopback clients only" \
  test "$(directive allow | tr '\n' ' ')/$(directive deny)" = "127.0.0.0/8 ::1 /all"
mkdir -p "$stage/nginx/logs"
cat >"$stage/nginx/nginx.conf" <<EOF
pid "$stage/nginx/nginx.pid";
error_log "$stage/nginx/logs/error.log";
events {}
http { include "$site"; }
EOF
check "nginx -t takes it" \
  nginx -q -t -p "$stage/nginx/" -e "$stage/nginx/logs/error.log" -c "$stage/nginx/nginx.conf"
finish
