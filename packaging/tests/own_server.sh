#!/usr/bin/env bash
# The game's own server, as qovex-dravel-content.service runs it: Apache httpd with the
# packaged configuration, as a user without rights but the one to bind port 80, in a network
# namespace of its own. It does as the nginx site does: the pack on 127.0.0.1 and ::1 only,
# byte for byte with the right types, one kept-alive connection for many requests, 404 for
# everything but the files of the game's folder (hidden ones too), no symbolic links followed,
# what caches may keep of each file as the site says it, and no version named.
# Usage: own_server.sh BUILD_DIR      (needs root; skipped without it or without apache2)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
build=$(cd "$1" && pwd -P)
((EUID == 0)) || { echo "SKIPPED: needs root"; exit 77; }
command -v apache2 >/dev/null || { echo "SKIPPED: apache2 (apache2-bin) is not installed"; exit 77; }
# shellcheck source=/dev/null
source "$build/content-layout.env"

# Port 80 of a network of its own, which no other server shares.
if [[ -z ${OWN_SERVER_INSIDE:-} ]]; then
  exec env OWN_SERVER_INSIDE=1 unshare -n bash -c 'ip link set lo up && exec bash "$0" "$@"' \
    "${BASH_SOURCE[0]}" "$@"
fi

stage=$(mktemp -d)
chmod 755 "$stage"
server_pid=""
cleanup() {
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$stage"
}
trap cleanup EXIT

# The pack as installed, with what a server must refuse beside it.
root="$stage/root"
folder="$root/$DRAVEL_CONTENT_FOLDER"
mkdir -p "$folder/sub"
cp -r "$build/content-pack/." "$root/"
echo secret >"$stage/secret.jpg"
echo half >"$folder/.star-amber.jpg.part"
hashed=star-amber.0123456789abcdef.jpg
cp "$folder/star-amber.jpg" "$folder/$hashed"
ln -s "$stage/secret.jpg" "$folder/outside.jpg"
chmod -R a+rX "$stage"
mkdir "$stage/run"
chown nobody "$stage/run"
config="$build/packaging/httpd.conf"
docroot=$(sed -n 's/^DocumentRoot "\(.*\)"$/\1/p' "$config")
sed -e "s|\"$docroot\"|\"$root\"|" -e "s|/run/qovex-dravel-content|$stage/run|" \
  -e "s|^ErrorLog .*|ErrorLog $stage/run/error.log|" -e 's|^CustomLog .*|CustomLog /dev/null combined|' \
  "$config" >"$stage/httpd.conf"

setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=+net_bind_service \
  --ambient-caps=+net_bind_service apache2 -f "$stage/httpd.conf" -D FOREGROUND &
server_pid=$!
url="http://$DRAVEL_CONTENT_HOST/$DRAVEL_CONTENT_FOLDER"
up() { curl -sf --max-time 2 -o /dev/null "$url/$DRAVEL_SCHEME_FILE"; }
for ((tries = 0; tries < 50; ++tries)); do up && break; sleep 0.1; done
check "it starts as a user without rights but binding port 80" up || cat "$stage/run/error.log"

listening() { ss -Hltn | awk '{ print $4 }' | sort | tr '\n' ' '; }
check "it listens on 127.0.0.1:80 and [::1]:80 only" test "$(listening)" = "127.0.0.1:80 [::1]:80 "
status_of() { curl -s -o /dev/null -w '%{http_code}' --path-as-is "$@"; }
same_bytes() { curl -sf "$url/$1" | cmp -s - "$folder/$1"; }
check "the scheme comes byte for byte, CR LF intact" same_bytes "$DRAVEL_SCHEME_FILE"
check "pictures come byte for byte" same_bytes star-amber.jpg
check "over IPv6 as well" test "$(status_of -g "http://[::1]/$DRAVEL_CONTENT_FOLDER/$DRAVEL_WRONG_PICTURE")" = 200
type_of() { curl -s -o /dev/null -w '%{content_type}' "$url/$1"; }
check "the scheme is text/plain, with no charset claimed" test "$(type_of "$DRAVEL_SCHEME_FILE")" = text/plain
check "pictures are image/jpeg" test "$(type_of "$DRAVEL_RIGHT_PICTURE")" = image/jpeg
connects=$(curl -s -o /dev/null -o /dev/null -w '%{num_connects}\n' "$url/$DRAVEL_SCHEME_FILE" \
  "$url/$DRAVEL_RIGHT_PICTURE" | paste -sd' ' -)
check "keep-alive: two requests, one connection (connects: $connects)" test "$connects" = "1 0"
check "the game's own request headers are accepted" test "$(status_of -H 'Accept: text/html, */*' \
  -A 'Mozilla/3.0 (compatible; Indy Library)' "$url/$DRAVEL_SCHEME_FILE")" = 200
for path in "/$DRAVEL_CONTENT_FOLDER/" "/$DRAVEL_CONTENT_FOLDER" / "/$DRAVEL_CONTENT_FOLDER/sub/" \
  "/$DRAVEL_CONTENT_FOLDER/nothing.jpg" "/$DRAVEL_CONTENT_FOLDER/.star-amber.jpg.part" \
  "/uploads/$DRAVEL_SCHEME_FILE" "/$DRAVEL_CONTENT_FOLDER/../1/$DRAVEL_SCHEME_FILE/"; do
  check "$path is 404" test "$(status_of "http://$DRAVEL_CONTENT_HOST$path")" = 404
done
check "a symbolic link out of the pack is refused" \
  test "$(status_of "$url/outside.jpg")" = 403
server_header() { curl -sI "$url/$DRAVEL_SCHEME_FILE" | tr -d '\r' | sed -n 's/^Server: //p'; }
check "it names no version (Server: $(server_header))" test "$(server_header)" = Apache
lifetime() { curl -s -o /dev/null -D - "$url/$1" | tr -d '\r' | sed -n 's/^Cache-Control: //Ip'; }
check "caches may keep the scheme a minute ($(lifetime "$DRAVEL_SCHEME_FILE"))" \
  test "$(lifetime "$DRAVEL_SCHEME_FILE")" = max-age=60
check "... a picture a day ($(lifetime star-amber.jpg))" test "$(lifetime star-amber.jpg)" = max-age=86400
check "... a picture named by its hash a year ($(lifetime "$hashed"))" \
  test "$(lifetime "$hashed")" = "max-age=31536000, immutable"
check "... and a 404 not at all ($(lifetime nothing.jpg))" test -z "$(lifetime nothing.jpg)"
check "it takes no body" test "$(status_of -X POST -d x "$url/$DRAVEL_SCHEME_FILE")" = 405
finish
