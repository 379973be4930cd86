#!/usr/bin/env bash
# cmake --install into a scratch DESTDIR puts every file where the desktop, man and nginx look
# for it, and nothing else: the program names itself by the desktop file id, the manual page
# renders cleanly and names the game's content server, the nginx site and the own server's
# configuration serve the pack from where it was installed, on loopback addresses only, and
# pass their servers' own tests; dravel-content's manual page renders cleanly.
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

# ---- The manual pages ----
# Renders the page $1 into $stage/man.txt; fails on any warning.
render() {
  man --warnings -E UTF-8 -l -Tutf8 -Z "$1" >/dev/null 2>"$stage/man.warnings"
  cat "$stage/man.warnings"
  MANWIDTH=200 man -E UTF-8 -l "$1" 2>/dev/null | col -b >"$stage/man.txt"
  test ! -s "$stage/man.warnings"
}
# Justified lines gain spaces where groff puts them, which moves with every line before.
says() { grep -qF -- "$1" <(tr -s ' ' <"$stage/man.txt"); }
check "the game's manual page renders without a warning" \
  render "$root$prefix/share/man/man6/qovex-dravel.6"
base_url="http://$DRAVEL_CONTENT_HOST/$DRAVEL_CONTENT_FOLDER/"
check "it names the content server, $base_url" says "$base_url"
check "it says the game has no options" says "has no options"
check "it gives the message shown without a server" \
  says "Hello! No data from $DRAVEL_CONTENT_HOST! Be connected!"
check "it names the installed pack" says "$prefix/share/qovex-dravel-content/$DRAVEL_CONTENT_FOLDER/"
check "dravel-content's manual page renders without a warning" \
  render "$root$prefix/share/man/man1/dravel-content.1"
for command in "check [--json] [--strict] URL|FOLDER" "sheet URL|FOLDER OUT.png" "build GRID OUT"; do
  check "it gives the command dravel-content $command" says "dravel-content $command"
done
check "it shows how to check the installed pack" says "dravel-content check $base_url"

# ---- The nginx site ----
site="$root$sysconf/nginx/sites-available/qovex-dravel-content"
directive() { sed -n "s/^ *$1 \(.*\);$/\1/p" "$site"; }
port=80
[[ $DRAVEL_CONTENT_HOST =~ :([0-9]+)$ ]] && port=${BASH_REMATCH[1]}
check "it serves the installed pack" \
  test "$(directive root)" = "\"$prefix/share/qovex-dravel-content\""
check "it answers to the game's host name" test "$(directive server_name)" = "$DRAVEL_CONTENT_HOST_NAME"
# Never as the default server: on the loopback addresses it takes no request that names
# another host away from a site listening there.
check "it listens on port $port of 127.0.0.1 and ::1 only, as no default server" \
  test "$(directive listen | tr '\n' ' ')" = "127.0.0.1:$port [::1]:$port "
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

# ---- The own server's configuration ----
httpd="$root$sysconf/qovex-dravel-content/httpd.conf"
setting() { sed -n "s/^ *$1 \(.*\)$/\1/p" "$httpd"; }
check "the own server listens on port $port of 127.0.0.1 and ::1 only" \
  test "$(setting Listen | tr '\n' ' ')" = "127.0.0.1:$port [::1]:$port "
check "it serves the installed pack" \
  test "$(setting DocumentRoot)" = "\"$prefix/share/qovex-dravel-content\""
check "it lets in loopback clients only" \
  test "$(setting 'Require ip')" = "127.0.0.0/8 ::1"
pack_dir="$prefix/share/qovex-dravel-content"
sed -e "s|/run/qovex-dravel-content|$stage|" -e "s|\"$pack_dir\"|\"$root$pack_dir\"|" "$httpd" \
  >"$stage/httpd.conf"
check "apache2 -t takes it" apache2 -t -f "$stage/httpd.conf"
finish
