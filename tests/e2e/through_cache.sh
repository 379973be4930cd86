#!/usr/bin/env bash
# The real program through a caching proxy (server/cache-proxy.conf.in, as a CDN's edge) in
# front of the content server, with a pack built with hashed names: the game plays, and the
# content server sees each file once while the proxy answers the rest. Then the pack is
# rewritten with new pictures under the running game: the game shows it once the proxy's copy
# of the scheme has lived its minute, and the content server still sees each file once.
set -euo pipefail
# As root, in a network of its own: its minute of waiting then shares no port with the other
# end-to-end tests, which may run meanwhile.
if ((EUID == 0)) && [[ -z ${THROUGH_CACHE_INSIDE:-} ]] && command -v unshare >/dev/null; then
  exec env THROUGH_CACHE_INSIDE=1 unshare -n bash -c 'ip link set lo up && exec bash "$0" "$@"' \
    "${BASH_SOURCE[0]}" "$@"
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup through_cache "$@"
e2e_require Xvfb xdpyinfo xdotool import convert mogrify compare curl nginx
# shellcheck source=../../bench/load/cache_proxy.sh
source "$E2E_SOURCE/bench/load/cache_proxy.sh"
tool="$E2E_BUILD/tools/dravel-content"
[[ -x $tool ]] || e2e_fail "no dravel-content in $E2E_BUILD/tools: build the project first"
e2e_port_closed 80 ||
  e2e_skip "port 80 on 127.0.0.1 is taken by another program, so the proxy cannot listen there"
if ((EUID != 0)) && ! sudo -n true 2>/dev/null; then
  e2e_skip "listening on port 80 needs root, and sudo asks for a password here"
fi
scheme_lifetime=60

# The pack: a build folder of its own, the generated pictures under hashed names.
generated=$E2E_PACK built=$E2E_BUILD
E2E_BUILD="$E2E_SCRATCH/cached-build"
E2E_PACK="$E2E_BUILD/content-pack/$E2E_FOLDER_PATH"
mkdir -p "$E2E_BUILD"
cp "$built/content-layout.env" "$E2E_BUILD/"
tr -d '\r' <"$generated/$DRAVEL_SCHEME_FILE" | sed "s|^|$generated/|" >"$E2E_SCRATCH/grid-a.txt"
build_pack() {
  QT_QPA_PLATFORM=offscreen "$tool" build --hash-names "$1" "$E2E_PACK" >>"$E2E_SHOTS/build.log" 2>&1 ||
    { cat "$E2E_SHOTS/build.log" >&2; e2e_fail "dravel-content build --hash-names failed"; }
}
build_pack "$E2E_SCRATCH/grid-a.txt"
mapfile -t names_a < <(tr -d '\r' <"$E2E_PACK/$DRAVEL_SCHEME_FILE")
[[ ${names_a[0]} =~ ^circle-amber\.[0-9a-f]{16}\.jpg$ ]] ||
  e2e_fail "the built scheme names row 1, column 1 '${names_a[0]}', not a hashed name"

# Below the ephemeral ports (32768 and up): a connection of a test running beside this one may
# hold one of those, and then no server could listen on it.
origin=$((20000 + ($$ + 3217) % 12000))
while ! e2e_port_closed "$origin"; do origin=$((origin + 1)); done
stop_servers() {
  cache_proxy_stop "$E2E_BUILD" 80 || true
  "$E2E_SOURCE/scripts/content-server" stop --port "$origin" --build "$E2E_BUILD" >/dev/null || true
  e2e_cleanup
}
trap stop_servers EXIT
"$E2E_SOURCE/scripts/content-server" start --port "$origin" --build "$E2E_BUILD" \
  >"$E2E_SHOTS/content-server.log" 2>&1 || e2e_fail "the content server did not start"
cache_proxy_start "$E2E_SOURCE" "$E2E_BUILD" 80 "$origin" 2>"$E2E_SHOTS/cache-proxy.log" ||
  { cat "$E2E_SHOTS/cache-proxy.log" >&2; e2e_fail "the caching proxy did not start on port 80"; }
# What the game asked the proxy for, and what reached the content server.
E2E_ACCESS_LOG="$(cache_proxy_state "$E2E_BUILD" 80)/logs/access.log"
origin_log="$E2E_BUILD/content-server/port-$origin/logs/access.log"
origin_requests() { sed -n "s|^[^\"]*\"GET /$E2E_FOLDER_PATH/\([^ ]*\) HTTP/1\.1\".*|\1|p" "$origin_log"; }
: >"$origin_log"

e2e_start_xvfb
position=1
e2e_answer "$position"
code=$E2E_CODE right=$E2E_RIGHT_TILE
mark=$(e2e_log_mark)
e2e_start_game
started=$SECONDS
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$code")"
shown() { e2e_task_shown "$code" "$1"; }
e2e_expect_screen 1-start "through the proxy, the first task $code of the hashed pack" shown

mapfile -t choices < <(e2e_choice_names)
e2e_answer $((++position))
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$right"
e2e_expect_requests "$mark" "a right pick" ok.jpg "${choices[right - 1]}" "$(e2e_turn_requests "$E2E_CODE")"
code=$E2E_CODE
e2e_expect_screen 2-right "a right pick, then task $code" shown

# Hand stepping from here: each "Start->Next" is one turn.
e2e_click "$window" "${E2E_STEP_SWITCH[@]}"
e2e_answer $((++position))
mark=$(e2e_log_mark)
e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
e2e_expect_requests "$mark" "\"Start->Next\"" reading.jpg "$(e2e_turn_requests "$E2E_CODE")"
code=$E2E_CODE
e2e_expect_screen 3-next "\"Start->Next\", then task $code" shown

repeated=$(origin_requests | sort | uniq -d)
[[ -z $repeated ]] || e2e_fail "the content server was asked more than once for: $repeated"
hits=$(grep -c ' HIT$' "$E2E_ACCESS_LOG" || true)
((hits >= 10)) || e2e_fail "the proxy answered only $hits requests from its cache"
echo "ok: the content server saw each file once ($(origin_requests | wc -l) files); the proxy answered $hits requests itself"

# A new pack under the running game: the same pictures negated, so every picture is new, and
# written as a publisher would, pictures first and the scheme last.
mkdir -p "$E2E_SCRATCH/negated"
mogrify -path "$E2E_SCRATCH/negated" -format png -negate "$generated"/*.jpg
sed "s|^$generated/\(.*\)\.jpg$|$E2E_SCRATCH/negated/\1.png|" "$E2E_SCRATCH/grid-a.txt" \
  >"$E2E_SCRATCH/grid-b.txt"
build_pack "$E2E_SCRATCH/grid-b.txt"
mapfile -t names_b < <(tr -d '\r' <"$E2E_PACK/$DRAVEL_SCHEME_FILE")
[[ ${names_b[0]} != "${names_a[0]}" ]] || e2e_fail "the new pack kept the old names"
rewritten=$SECONDS
echo "ok: rewrote the pack ($((rewritten - started)) s after the game started)"

# Until the proxy's copy of the scheme expires the game plays the old pack; the first turn
# after that gets the new scheme. A margin for a slow machine on top of the lifetime.
deadline=$((SECONDS + scheme_lifetime + 30))
while :; do
  e2e_answer $((++position))
  mark=$(e2e_log_mark)
  e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
  for ((waited = 0; waited < 100; ++waited)); do
    (($(e2e_requests_since "$mark" | wc -l) >= 12)) && break
    sleep 0.1
  done
  first_choice=$(e2e_requests_since "$mark" | sed -n '3s/ .*//p')
  [[ $first_choice == "${names_b[0]}" ]] && break
  [[ $first_choice == "${names_a[0]}" ]] || e2e_fail "a turn asked for '$first_choice' as the first choice"
  ((SECONDS < deadline)) ||
    e2e_fail "the rewritten pack did not reach the game within $((SECONDS - rewritten)) s"
  sleep 2
done
code=$E2E_CODE
sleep 0.3
actual=$(e2e_requests_since "$mark")
expected=$(printf '%s\n' reading.jpg "$(e2e_turn_requests "$code")" | sed 's/$/ 200/')
[[ $actual == "$expected" ]] || e2e_fail "the turn after the rewrite asked for: $actual"
e2e_expect_screen 4-rewritten "the rewritten pack's task $code, $((SECONDS - rewritten)) s after the rewrite" shown

# Each picture once; the scheme once a lifetime and once for the start.
repeated=$(origin_requests | grep -vxF "$DRAVEL_SCHEME_FILE" | sort | uniq -d)
[[ -z $repeated ]] || e2e_fail "the content server was asked more than once for: $repeated"
schemes=$(origin_requests | grep -cxF "$DRAVEL_SCHEME_FILE")
((schemes <= 1 + (SECONDS - started) / scheme_lifetime)) ||
  e2e_fail "the content server was asked for the scheme $schemes times in $((SECONDS - started)) s"
echo "ok: the content server saw each picture once and the scheme $schemes times in $((SECONDS - started)) s"

# What the proxy passes on tells caches what the content server does.
QT_QPA_PLATFORM=offscreen "$tool" check "http://127.0.0.1/$E2E_FOLDER_PATH/" >"$E2E_SHOTS/check.log" 2>&1 ||
  { cat "$E2E_SHOTS/check.log" >&2; e2e_fail "dravel-content check through the proxy found problems"; }
echo "ok: dravel-content check through the proxy finds nothing wrong"
echo "played through the caching proxy; screenshots in $E2E_SHOTS"
