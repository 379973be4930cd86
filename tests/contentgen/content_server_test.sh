#!/usr/bin/env bash
# The content server, started by the project's script on a free loopback port, serves the
# built pack as the game asks for it. Usage: content_server_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1
build=$2
server="$source_dir/scripts/content-server"
source "$build/content-layout.env"
pack="$build/content-pack/$DRAVEL_CONTENT_FOLDER"
source "$source_dir/tests/support/checks.sh"

listens() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Below the ephemeral ports (32768 and up): a connection of a test running beside this one may
# hold one of those, and then no server could listen on it.
port=$((20000 + $$ % 12000))
for ((tries = 0; tries < 50; ++tries)); do
  listens "$port" || break
  port=$((port + 1))
done
url="http://127.0.0.1:$port/$DRAVEL_CONTENT_FOLDER"
other_build=$(mktemp -d)
cleanup() {
  [[ -s $other_build/system/nginx.pid ]] && kill -QUIT "$(cat "$other_build/system/nginx.pid")"
  "$server" stop --port "$port" --build "$build" >/dev/null
  "$server" stop --port "$port" --build "$other_build" >/dev/null
  rm -rf "$other_build" "$build/content-server/port-$port"
}
trap cleanup EXIT

status_of() { curl --silent --output /dev/null --write-out '%{http_code}' --path-as-is "$1"; }
same_bytes() { curl --silent --fail "$url/$1" | cmp --silent - "$pack/$1"; }
content_type() {
  curl --silent --output /dev/null --write-out '%{content_type}' "$url/$1" | grep -q "^$2"
}

check "starts" "$server" start --port "$port" --build "$build"
state="$build/content-server/port-$port"
check "the standalone configuration passes nginx -t" \
  nginx -q -t -p "$state/" -c "$state/nginx.conf" -e "$state/logs/error.log"
# The site block alone, inside a system nginx's http block that compresses text and pictures
# (Debian's nginx.conf turns gzip on, and its gzip_types line is one edit away).
system_port=$((port + 1))
while listens "$system_port"; do system_port=$((system_port + 1)); done
system="$other_build/system"
mkdir -p "$system/logs" "$other_build/content-pack"
cp -r "$build/content-pack/." "$other_build/content-pack/"
cp "$pack/ok.jpg" "$other_build/content-pack/$DRAVEL_CONTENT_FOLDER/ok.0123456789abcdef.jpg"
sed -e "s|@LISTEN@|listen 127.0.0.1:$system_port;|; s|@SERVER_NAME@|$DRAVEL_CONTENT_HOST_NAME|" \
  -e "s|@ROOT@|$other_build/content-pack|; s|@FOLDER@|$DRAVEL_CONTENT_FOLDER|" \
  "$source_dir/server/nginx-site.conf.in" >"$system/site.conf"
# As root, workers that can read the build tree wherever it is.
((EUID == 0)) && echo 'user root;' >"$system/nginx.conf"
printf 'pid %s;\nevents {}\nhttp {\n  gzip on;\n  gzip_min_length 1;\n  gzip_types text/plain image/jpeg;\n  include %s;\n}\n' \
  "$system/nginx.pid" "$system/site.conf" >>"$system/nginx.conf"
check "the site block passes nginx -t in a bare http block" \
  nginx -q -t -p "$system/" -c "$system/nginx.conf" -e "$system/logs/error.log"
check "a second start is a no-op" "$server" start --port "$port" --build "$build"
check "status says running" "$server" status --port "$port" --build "$build"

check "scheme served byte for byte, CR LF intact" same_bytes "$DRAVEL_SCHEME_FILE"
check "pictures served byte for byte" same_bytes star-amber.jpg
check "fixed pictures served" same_bytes "$DRAVEL_WRONG_PICTURE"
check "scheme is text/plain" content_type "$DRAVEL_SCHEME_FILE" text/plain
check "pictures are image/jpeg" content_type "$DRAVEL_RIGHT_PICTURE" image/jpeg
check "the game's own request headers are accepted" \
  curl --silent --fail --output /dev/null -H 'Accept: text/html, */*' \
  -A 'Mozilla/3.0 (compatible; Indy Library)' "$url/$DRAVEL_READING_PICTURE"
connects=$(curl --silent --output /dev/null --output /dev/null --write-out '%{num_connects} ' \
  "$url/$DRAVEL_SCHEME_FILE" "$url/$DRAVEL_RIGHT_PICTURE")
check "keep-alive: two requests, one connection (connects: $connects)" \
  test "$connects" = "1 0 "
# What caches may keep: the scheme a minute, pictures a day, a hashed name a year; validators
# kept; nothing compressed, even for a client that asks, and in the system's nginx too.
head_of() { curl --silent --output /dev/null --dump-header - -H 'Accept-Encoding: gzip' "${@:2}" "$1" | tr -d '\r'; }
has() { grep -qix "$2" <<<"$1"; }
lacks() { ! grep -qi "^$2:" <<<"$1"; }
check "the system nginx starts" nginx -p "$system/" -c "$system/nginx.conf" -e "$system/logs/error.log"
for base in "$url" "http://127.0.0.1:$system_port/$DRAVEL_CONTENT_FOLDER"; do
  [[ $base == "$url" ]] && where="standalone" || where="system nginx"
  scheme_head=$(head_of "$base/$DRAVEL_SCHEME_FILE")
  check "$where: the scheme a minute" has "$scheme_head" 'Cache-Control: max-age=60'
  check "$where: a picture a day" has "$(head_of "$base/star-amber.jpg")" 'Cache-Control: max-age=86400'
  check "$where: a fixed picture a day" has "$(head_of "$base/$DRAVEL_WRONG_PICTURE")" 'Cache-Control: max-age=86400'
  check "$where: ETag and Last-Modified kept" \
    bash -c 'grep -qi "^ETag: " <<<"$0" && grep -qi "^Last-Modified: " <<<"$0"' "$scheme_head"
  check "$where: nothing compressed" \
    lacks "$scheme_head$(head_of "$base/star-amber.jpg")" Content-Encoding
  check "$where: a 404 gets no lifetime" lacks "$(head_of "$base/nothing.jpg")" Cache-Control
  etag=$(sed -n 's/^ETag: //Ip' <<<"$scheme_head")
  renewed=$(head_of "$base/$DRAVEL_SCHEME_FILE" -H "If-None-Match: $etag")
  check "$where: a 304 renews the minute" \
    bash -c 'grep -q "^HTTP/1.1 304" <<<"$0" && grep -qix "Cache-Control: max-age=60" <<<"$0"' "$renewed"
done
check "system nginx: a hashed name a year, immutable" \
  has "$(head_of "http://127.0.0.1:$system_port/$DRAVEL_CONTENT_FOLDER/ok.0123456789abcdef.jpg")" \
  'Cache-Control: max-age=31536000, immutable'

check "bare folder is 404" test "$(status_of "$url/")" = 404
check "folder without slash is 404, not a redirect" test "$(status_of "$url")" = 404
check "missing picture is 404" test "$(status_of "$url/nothing.jpg")" = 404
check "outside the game's folder is 404" \
  test "$(status_of "http://127.0.0.1:$port/${DRAVEL_CONTENT_FOLDER%/*}/")" = 404

# A second server on the same port: the start must fail and say why.
cp "$build/content-layout.env" "$other_build/"
message=$("$server" start --port "$port" --build "$other_build" 2>&1)
check "a taken port fails the start" test $? -eq 1
check "a taken port is explained" grep -q "another program listens" <<<"$message"

check "stops" "$server" stop --port "$port" --build "$build"
"$server" status --port "$port" --build "$build" >/dev/null
check "status says stopped" test $? -eq 3
check "a second stop is a no-op" "$server" stop --port "$port" --build "$build"
check "port is free again" bash -c "! (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null"
check "nothing left in the way of a rebuild" \
  test -z "$(find "$build/content-server/port-$port" -name nginx.pid)"

echo "content server: $failures failed"
((failures == 0))
