#!/usr/bin/env bash
# The load benchmark's replay: what wrk sends is what the game sends, click for click, and it
# is all answered 2xx; the table judges the throughput on the right numbers.
# Usage: replay_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1
build=$(cd "$2" && pwd -P)
source "$build/content-layout.env"
source "$source_dir/tests/support/checks.sh"
command -v wrk >/dev/null || { echo "SKIPPED: wrk is not installed"; exit 77; }
server="$source_dir/scripts/content-server"
pack="$build/content-pack/$DRAVEL_CONTENT_FOLDER"

scratch=$(mktemp -d)
# Below the ephemeral ports (32768 and up): a connection of a test running beside this one may
# hold one of those, and then no server could listen on it.
port=$((20000 + ($$ + 4111) % 12000))
while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
cleanup() {
  "$server" stop --port "$port" --build "$build" >/dev/null
  rm -rf "$scratch" "$build/content-server/port-$port"
}
trap cleanup EXIT
"$server" start --port "$port" --build "$build" >/dev/null ||
  { echo "FAILED: the content server did not start"; exit 1; }
log="$build/content-server/port-$port/logs/access.log"

"$build/tools/dravel-answers" 3 >"$scratch/answers"
awk -v folder="/$DRAVEL_CONTENT_FOLDER/" -v waiting="$DRAVEL_READING_PICTURE" \
  -v scheme="$DRAVEL_SCHEME_FILE" -v right="$DRAVEL_RIGHT_PICTURE" -v wrong="$DRAVEL_WRONG_PICTURE" \
  -f "$source_dir/bench/load/clicks.awk" "$pack/$DRAVEL_SCHEME_FILE" "$scratch/answers" \
  >"$scratch/requests"
wrk --threads 1 --connections 1 --duration 1s --script "$source_dir/bench/load/replay_clicks.lua" \
  "http://127.0.0.1:$port" -- "$scratch/requests" >"$scratch/wrk.out" 2>&1
check "wrk runs the replay" test $? -eq 0
IFS=$'\t' read -r _ requests _ _ _ connect read write timeout status \
  < <(grep $'^replay\t' "$scratch/wrk.out")
check "requests were made ($requests)" test "${requests:-0}" -gt 13
check "no socket errors" test "${connect:-x}${read:-x}${write:-x}${timeout:-x}" = 0000
check "every answer 2xx" test "${status:-x}" = 0

# The first clicks, worked out here from the scheme and the answers: start-up, then a right
# pick of task 1 (every fourth pick is wrong, the first is not).
cell() { sed -n "$((7 * ($1 - 1) + $2))p" "$pack/$DRAVEL_SCHEME_FILE" | tr -d '\r'; }
turn() {
  echo "$DRAVEL_SCHEME_FILE"
  for k in 1 2 3 4 5 6 7; do cell "$k" "$k"; done
  for k in 0 2 4; do cell "${1:k:1}" "${1:k+1:1}"; done
}
read -r _ first_code first_right <"$scratch/answers"
second_code=$(sed -n 2p "$scratch/answers" | cut -d' ' -f2)
{
  echo "$DRAVEL_READING_PICTURE"
  turn "$first_code"
  echo "$DRAVEL_RIGHT_PICTURE"
  cell "$first_right" "$first_right"
  turn "$second_code"
} >"$scratch/expected"
sed -n "s|^[^\"]*\"GET /$DRAVEL_CONTENT_FOLDER/\([^ ]*\) HTTP/1\.1\" 200 .*\"Mozilla/3.0 (compatible; Indy Library)\"$|\1|p" \
  "$log" | head -n "$(wc -l <"$scratch/expected")" >"$scratch/made"
check "the game's requests, click for click, with its user agent" \
  diff "$scratch/expected" "$scratch/made"

# Runs of 10 s: players, path, held, origin requests, then wrk's figures.
table() {
  printf '%s\n' "16 direct 16 100 100 1000 1 2 0 0 0 0 0" "16 cache 16 $2 10000 1000 1 2 0 0 0 0 0" \
    "5000 direct 4990 90 90 $1 9 20 0 1 0 2 3" "5000 cache 4990 53 9000 900 9 20 0 0 0 0 0" |
    tr ' ' '\t' | awk -F '\t' -v workers=2 -v threads=2 -v cores=2 -v rounds=1 -v seconds=10 \
      -f "$source_dir/bench/load/load_table.awk"
}
check "the table: 900 of 1000 requests/s straight at the server meets the goal" \
  grep -q 'vs 16: 0.90 (goal >= 0.90: met)' <(table 900 53)
check "the table: 899 does not" grep -q 'vs 16: 0.90 (goal >= 0.90: NOT met)' <(table 899 53)
check "the table: socket errors summed" grep -qE '^5000 +direct +4990 .* 3 \(0/1/0/2\) +3$' <(table 900 53)
check "the table: the content server's requests a second, and their share" \
  grep -qE '^16 +cache +16 +1000 \(1000-1000\) +5\.3 +0\.00530 ' <(table 900 53)
check "the table: 99 of 10,000 requests through the cache meets the goal" \
  grep -q 'at 16 players, the content server saw 0.00990 of the requests (goal < 0.01: met)' <(table 900 99)
check "the table: 100 does not" \
  grep -q 'at 16 players, the content server saw 0.01000 of the requests (goal < 0.01: NOT met)' <(table 900 100)

echo "replay: $failures failed"
((failures == 0))
