#!/usr/bin/env bash
# dravel-content: check finds one planted fault of each kind, with its line and file, from a
# folder and through nginx, and what a server tells caches wrongly, which is advice unless it
# breaks play; a good pack passes, from a server that says nothing to caches with advice, which
# --strict fails; build
# makes a pack that passes, with hashed names too; sheet draws it; bad arguments give exit
# status 2.
# Usage: content_tool_test.sh SOURCE_DIR BUILD_DIR DRAVEL_CONTENT
set -uo pipefail
source_dir=$1
build=$2
tool=$3
source "$build/content-layout.env"
source "$source_dir/tests/support/checks.sh"
good="$build/content-pack/$DRAVEL_CONTENT_FOLDER"
server="$source_dir/scripts/content-server"
export QT_QPA_PLATFORM=offscreen

scratch=$(mktemp -d)
ports=()
cleanup() {
  local port
  [[ -n ${plain_pid:-} ]] && kill "$plain_pid" 2>/dev/null
  [[ -s $scratch/careless/nginx.pid ]] && kill -QUIT "$(cat "$scratch/careless/nginx.pid")"
  for port in "${ports[@]}"; do
    "$server" stop --port "$port" --build "$scratch/served" >/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# A pack to serve: a build folder of its own, with the layout and a copy of the good pack.
broken_root="$scratch/served/content-pack"
broken="$broken_root/$DRAVEL_CONTENT_FOLDER"
mkdir -p "$broken"
cp "$build/content-layout.env" "$scratch/served/"
cp -r "$good/." "$broken/"

# Each planted fault replaces one line of the scheme.
mapfile -t cells < <(tr -d '\r' <"$good/$DRAVEL_SCHEME_FILE")
names=("${cells[@]}")
plant() { names[$1 - 1]=$2; }
plant 3 gone.jpg
plant 5 page.jpg
echo '<html><body>Not found</body></html>' >"$broken/page.jpg"
plant 8 cut.jpg
head -c 3000 "$good/${cells[0]}" >"$broken/cut.jpg"
# A baseline picture whose frame header claims 30,000 x 30,000 pixels.
plant 10 huge.jpg
cp "$good/circle-amber.jpg" "$broken/huge.jpg"
frame=$(LC_ALL=C grep -obUaP '\xff\xc0' "$broken/huge.jpg" | head -n 1 | cut -d: -f1)
printf '\x75\x30\x75\x30' | dd of="$broken/huge.jpg" bs=1 seek=$((frame + 5)) conv=notrunc status=none
plant 12 tiny.jpg
convert -size 100x100 xc:teal "$broken/tiny.jpg"
plant 14 ""
plant 16 "${names[0]}"
plant 18 "star blue.jpg"
cp "$good/star-blue.jpg" "$broken/star blue.jpg"
plant 20 "$DRAVEL_RIGHT_PICTURE"
plant 22 sub/x.jpg
plant 24 star-amber.0123456789abcdef.jpg
cp "$good/star-amber.jpg" "$broken/star-amber.0123456789abcdef.jpg"
# 12-bit samples: extended sequential coding, which this libjpeg is built without.
plant 26 twelve.jpg
cp "$good/circle-amber.jpg" "$broken/twelve.jpg"
frame=$(LC_ALL=C grep -obUaP '\xff\xc0' "$broken/twelve.jpg" | head -n 1 | cut -d: -f1)
printf '\xc1' | dd of="$broken/twelve.jpg" bs=1 seek=$((frame + 1)) conv=notrunc status=none
printf '\x0c' | dd of="$broken/twelve.jpg" bs=1 seek=$((frame + 4)) conv=notrunc status=none
rm "$broken/$DRAVEL_WRONG_PICTURE"
{
  printf '\xEF\xBB\xBF'
  printf '%s\r\n' "${names[@]}" extra.jpg
} >"$broken/$DRAVEL_SCHEME_FILE"
expected="byte-order-mark shemoftask.txt 1
unreachable gone.jpg 3
not-jpeg page.jpg 5
damaged cut.jpg 8
over-limits huge.jpg 10
empty-line shemoftask.txt 14
duplicate-name shemoftask.txt 16
escaped-bytes shemoftask.txt 18
fixed-name shemoftask.txt 20
not-in-folder shemoftask.txt 22
wrong-hash star-amber.0123456789abcdef.jpg 24
unsupported twelve.jpg 26
unreachable no.jpg 0"
expected_advice="blurry tiny.jpg 12
line-count shemoftask.txt 50"
# Files that must never be served: a half-written file, and a link out of the pack.
echo secret >"$broken/.star-blue.jpg.part"
ln -s /etc/hostname "$broken/outside.jpg"

found() { jq -r ".${2:-problems}[] | \"\\(.kind) \\(.file) \\(.line)\"" <"$1"; }
same_problems() { diff <(sort <<<"$expected") <(found "$1" | sort) >&2; }
same_advice() { diff <(sort <<<"$expected_advice") <(found "$1" advice | sort) >&2; }

"$tool" check --json "$broken" >"$scratch/folder.json"
check "a broken folder fails the check" test $? -eq 1
check "from a folder: each planted fault, with its line and file" same_problems "$scratch/folder.json"
check "from a folder: what only looks less well is advice" same_advice "$scratch/folder.json"
"$tool" check "$broken" >"$scratch/folder.txt"
check "text: a scheme line" grep -qxF "shemoftask.txt:14: [empty-line] an empty line: the game asks for the bare folder and skips the task" "$scratch/folder.txt"
check "text: a picture of a line" grep -q '^shemoftask.txt:5: page.jpg: \[not-jpeg\] ' "$scratch/folder.txt"
check "text: a piece of advice" grep -q '^shemoftask.txt:12: tiny.jpg: advice \[blurry\] ' "$scratch/folder.txt"
check "text: the summary" grep -q ": 13 problems in 50 files; 2 pieces of advice" "$scratch/folder.txt"

listens() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
# Below the ephemeral ports (32768 and up): a connection of a test running beside this one may
# hold one of those, and then no server could listen on it.
port=$((20000 + ($$ + 7919) % 12000))
while listens "$port"; do port=$((port + 1)); done
ports+=("$port")
"$server" start --port "$port" --build "$scratch/served" >/dev/null ||
  { echo "FAILED: the content server did not start"; exit 1; }
url="http://127.0.0.1:$port/$DRAVEL_CONTENT_FOLDER/"
"$tool" check --json "$url" >"$scratch/server.json"
check "a broken server fails the check" test $? -eq 1
check "through nginx: each planted fault, with its line and file" same_problems "$scratch/server.json"
"$tool" check "$url" >"$scratch/server.txt"
check "text: the cause in the words of the game's log" \
  grep -qxF "shemoftask.txt:3: gone.jpg: [unreachable] HTTP status 404" "$scratch/server.txt"
status_of() { curl --silent --output /dev/null --write-out '%{http_code}' "$url$1"; }
check "a hidden file is not served" test "$(status_of .star-blue.jpg.part)" = 404
check "a link out of the pack is not served" test "$(status_of outside.jpg)" != 200

# The good pack from a server that tells caches the wrong things, one a file: each is a
# problem of its own kind, at the line that names the file.
careless="$scratch/careless"
careless_port=$((port + 1))
while listens "$careless_port"; do careless_port=$((careless_port + 1)); done
mkdir -p "$careless/logs"
at() { echo "/$DRAVEL_CONTENT_FOLDER/${cells[$1 - 1]}"; }
cat >"$careless/nginx.conf" <<EOF
$( ((EUID == 0)) && echo 'user root;')
pid "$careless/nginx.pid";
events {}
http {
  access_log off;
  server {
    listen 127.0.0.1:$careless_port;
    root "$build/content-pack";
    add_header Cache-Control "max-age=86400";
    location = /$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE { add_header Cache-Control "max-age=3600"; }
    location = $(at 3) { return 301 /elsewhere/${cells[2]}; }
    location = $(at 5) { add_header X-Lifetime none; }
    location = $(at 7) { add_header Cache-Control no-store; }
    location = $(at 9) {
      gzip on;
      gzip_min_length 1;
      gzip_types image/jpeg;
    }
    location = $(at 11) {
      etag off;
      add_header Last-Modified "";
      add_header Cache-Control "max-age=86400";
    }
  }
}
EOF
nginx -p "$careless/" -c "$careless/nginx.conf" -e "$careless/logs/error.log" ||
  { echo "FAILED: the careless server did not start"; exit 1; }
expected="redirect ${cells[2]} 3
compressed ${cells[8]} 9"
expected_advice="scheme-kept-long $DRAVEL_SCHEME_FILE 0
no-lifetime ${cells[4]} 5
picture-kept-short ${cells[6]} 7
no-validator ${cells[10]} 11"
"$tool" check --json "http://127.0.0.1:$careless_port/$DRAVEL_CONTENT_FOLDER/" >"$scratch/careless.json"
check "a server that tells caches the wrong things fails the check" test $? -eq 1
check "what breaks play behind a cache, with its line and file" same_problems "$scratch/careless.json"
check "what only makes caches work less well is advice" same_advice "$scratch/careless.json"

# The good pack, both ways. nginx keeps the files it served open for a while: a fresh start.
"$server" stop --port "$port" --build "$scratch/served" >/dev/null
rm -rf "$broken" && cp -r "$good/." "$broken/"
"$server" start --port "$port" --build "$scratch/served" >/dev/null ||
  { echo "FAILED: the content server did not start again"; exit 1; }
"$tool" check "$good" >"$scratch/good.txt"
check "a good folder passes" test $? -eq 0
check "a good folder: no problems" grep -q ": no problems in 53 files$" "$scratch/good.txt"
"$tool" check --json "$url" >"$scratch/good.json"
check "a good server passes" test $? -eq 0
check "a good server: ok in the JSON" test "$(jq -r '.ok' <"$scratch/good.json")" = true

# The good pack from a server that says nothing to caches (python's http.server): it plays,
# so the check passes with advice, and fails only when asked to be strict; without one of its
# pictures it fails.
# It binds a port the system chooses and names it, so no parallel test can take it first.
plain="$scratch/plain/$DRAVEL_CONTENT_FOLDER"
mkdir -p "$plain" && cp -r "$good/." "$plain/"
python3 -u -m http.server --bind 127.0.0.1 --directory "$scratch/plain" 0 \
  >"$scratch/plain-server.txt" 2>&1 &
plain_pid=$!
plain_port=
for _ in $(seq 100); do
  plain_port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$scratch/plain-server.txt")
  [[ -n $plain_port ]] && break
  sleep 0.1
done
[[ -n $plain_port ]] || { echo "FAILED: python's http.server did not start"; cat "$scratch/plain-server.txt"; exit 1; }
plain_url="http://127.0.0.1:$plain_port/$DRAVEL_CONTENT_FOLDER/"
"$tool" check "$plain_url" >"$scratch/plain.txt"
check "a plain server passes" test $? -eq 0
check "a plain server: advice on lifetimes" grep -q ' advice \[no-lifetime\] ' "$scratch/plain.txt"
check "a plain server: the summary" \
  grep -q ": no problems in 53 files; 53 pieces of advice" "$scratch/plain.txt"
"$tool" check --strict --json "$plain_url" >"$scratch/plain.json"
check "a plain server fails --strict" test $? -eq 1
check "a plain server: not ok in the strict JSON" test "$(jq -r '.ok' <"$scratch/plain.json")" = false
rm "$plain/${cells[6]}"
"$tool" check "$plain_url" >"$scratch/plain-missing.txt"
check "a plain server without a picture fails" test $? -eq 1
check "a plain server without a picture: which" \
  grep -qxF "shemoftask.txt:7: ${cells[6]}: [unreachable] HTTP status 404" "$scratch/plain-missing.txt"
kill "$plain_pid" && plain_pid=

# A pack built from an author's pictures: any format, any names, one fixed picture of theirs.
mkdir -p "$scratch/author"
{
  echo "# my pack"
  for ((i = 0; i < 49; ++i)); do
    picture="$scratch/author/Picture No $((i + 1)).png"
    convert "$good/${cells[i]}" "$picture"
    echo "author/$(basename "$picture")"
  done
  echo "$DRAVEL_WRONG_PICTURE: author/Picture No 1.png"
} >"$scratch/grid.txt"
"$tool" build "$scratch/grid.txt" "$scratch/built" >"$scratch/build.txt"
check "build makes a pack that passes the check" test $? -eq 0
check "the built scheme: 49 safe names, CR LF" \
  test "$(grep -c $'^picture-no-[0-9]*\\.jpg\r$' "$scratch/built/$DRAVEL_SCHEME_FILE")" = 49
"$tool" build --hash-names "$scratch/grid.txt" "$scratch/hashed" >"$scratch/hashed.txt"
check "build --hash-names makes a pack that passes the check" test $? -eq 0
check "the hashed scheme: 49 names with their hashes" \
  test "$(grep -c $'^picture-no-[0-9]*\\.[0-9a-f]\\{16\\}\\.jpg\r$' "$scratch/hashed/$DRAVEL_SCHEME_FILE")" = 49
"$tool" build --hash-names "$scratch/grid.txt" "$scratch/hashed-again" >/dev/null
check "the same pictures get the same names again" \
  cmp -s "$scratch/hashed/$DRAVEL_SCHEME_FILE" "$scratch/hashed-again/$DRAVEL_SCHEME_FILE"
"$tool" sheet "$scratch/built" "$scratch/sheet.png" >/dev/null
check "sheet draws the table" bash -c "file '$scratch/sheet.png' | grep -q 'PNG image data'"
head -n 30 "$scratch/grid.txt" >"$scratch/short-grid.txt"
message=$("$tool" build "$scratch/short-grid.txt" "$scratch/short" 2>&1)
check "a grid without 49 pictures fails" test $? -eq 1
check "and says so" grep -q "29 pictures; a pack needs 49" <<<"$message"

bad_arguments() { "$tool" "$@" >/dev/null 2>&1; test $? -eq 2; }
check "no command: exit 2" bad_arguments
check "unknown command: exit 2" bad_arguments fetch "$good"
check "check without a source: exit 2" bad_arguments check
check "check of no folder: exit 2" bad_arguments check "$scratch/nothing"
check "check of https: exit 2" bad_arguments check https://localhost/
check "sheet not to a PNG: exit 2" bad_arguments sheet "$good" "$scratch/sheet.jpg"
check "build of no grid: exit 2" bad_arguments build "$scratch/nothing.txt" "$scratch/out"
check "build with an unknown option: exit 2" bad_arguments build --hash "$scratch/grid.txt" "$scratch/out"

echo "content tool: $failures failed"
((failures == 0))
