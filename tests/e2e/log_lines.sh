#!/usr/bin/env bash
# What the real program writes on its standard output and error: nothing while a game goes
# well. When the scheme names a choice picture that nginx does not have, a line for each of the
# turn's three attempts naming the address and the 404, and one for the turn; with an HTML page
# under that name, the same with "not a JPEG"; against a server that takes the connection and
# never answers, a line an attempt naming the scheme's address and the time-out.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup log_lines "$@"
e2e_require Xvfb xdpyinfo xdotool import curl nginx

# A pack of its own, so that its pictures can go without touching the build's.
generated=$E2E_PACK
generated_build=$E2E_BUILD
E2E_BUILD="$E2E_SCRATCH/build"
E2E_PACK="$E2E_BUILD/content-pack/$E2E_FOLDER_PATH"
E2E_ACCESS_LOG="$E2E_BUILD/content-server/port-80/logs/access.log"
mkdir -p "$E2E_PACK"
cp "$generated_build/content-layout.env" "$E2E_BUILD/"
cp -r "$generated/." "$E2E_PACK/"
e2e_serve_content
e2e_start_xvfb
game_log="$E2E_SHOTS/game.log"
base="http://$DRAVEL_CONTENT_HOST/$E2E_FOLDER_PATH/"

# The program's lines from line $1 on.
lines_since() { tail -n "+$(($1 + 1))" "$game_log"; }
line_count() { grep -c '' "$game_log" || true; }

# Waits for the no-data dialog, then closes it with Return.
no_data_then_ok() {
  local dialog waited
  dialog=$(e2e_wait_window '^Confirm$' "${1:-20}") || e2e_fail "no no-data dialog after $2"
  e2e_press "$dialog" Return
  for ((waited = 0; waited < 50; ++waited)); do
    xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  e2e_fail "the no-data dialog did not close on Return"
}

# Fails unless the lines after mark $1 are exactly the regular expressions given, in order.
expect_lines() {
  local mark=$1 what=$2 actual expected
  shift 2
  actual=$(lines_since "$mark")
  expected=$(printf '%s\n' "$@")
  if ! paste -d '\n' <(echo "$expected") <(echo "$actual") | awk '
      NR % 2 { pattern = $0; next } $0 !~ "^" pattern "$" { bad = 1 } END { exit bad }' ||
    (($(grep -c '' <<<"$actual") != $#)); then
    printf '  expected:\n%s\n  written:\n%s\n' "$expected" "$actual" >&2
    e2e_fail "$what: the program's lines differ"
  fi
  echo "ok: $what:"
  sed 's/^/    /' <<<"$actual"
}

e2e_answer 1
first_code=$E2E_CODE first_right=$E2E_RIGHT_TILE
e2e_answer 2
second_code=$E2E_CODE second_right=$E2E_RIGHT_TILE
mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$first_code")"
mapfile -t choices < <(e2e_choice_names)
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$first_right"
e2e_expect_requests "$mark" "a right pick" ok.jpg "${choices[first_right - 1]}" \
  "$(e2e_turn_requests "$second_code")"
[[ ! -s $game_log ]] || e2e_fail "a game that goes well wrote: $(cat "$game_log")"
echo "ok: a start and a right pick write nothing on standard output or error"

# The scheme names a missing choice picture: every attempt of the next turn fails at it. The
# scheme is read afresh at every request; nginx may serve a picture for seconds after it went.
gone=$((second_right % 7 + 1))
scheme="$E2E_PACK/$DRAVEL_SCHEME_FILE"
name_cell() {
  awk -v line=$((8 * (gone - 1) + 1)) -v name="$1" 'NR == line { $0 = name "\r" } { print }' \
    "$generated/$DRAVEL_SCHEME_FILE" >"$scheme.new"
  mv "$scheme.new" "$scheme"
}
name_cell gone.jpg
at=$(line_count)
e2e_click_choice "$window" "$second_right"
no_data_then_ok 20 "a turn with a picture gone"
attempt_404="dravel[.]http: GET ${base//./[.]}gone[.]jpg failed after [0-9]+ ms: HTTP status 404"
gave_up="dravel[.]turn: a turn gave up after 3 failed attempts"
expect_lines "$at" "a picture gone in mid-game" "$attempt_404" "$attempt_404" "$attempt_404" "$gave_up"

# An HTML page in its place; a click plays the turn again. Each click goes elsewhere than the
# one before: Xvfb's clock may make two clicks on one spot seconds apart a double-click.
echo '<html><body>Not found</body></html>' >"$E2E_PACK/page.jpg"
name_cell page.jpg
at=$(line_count)
e2e_click_choice "$window" "$gone"
no_data_then_ok 20 "a turn with a page instead of a picture"
attempt_page="dravel[.]picture: GET ${base//./[.]}page[.]jpg failed after [0-9]+ ms: not a JPEG picture: .*"
expect_lines "$at" "a page instead of a picture" "$attempt_page" "$attempt_page" "$attempt_page" \
  "$gave_up"

# A server that never answers: the turn's first request, the scheme, waits for it.
e2e_silence_content
at=$(line_count)
e2e_click_choice "$window" $((gone % 7 + 1))
no_data_then_ok 30 "a turn against a silent server"
scheme_url=${base//./[.]}${DRAVEL_SCHEME_FILE//./[.]}
silent() { echo "dravel[.]http: GET $scheme_url failed after [0-9]+ ms: timed out: no data from the server for $1 ms"; }
expect_lines "$at" "a silent server" "$(silent 4000)" "$(silent 2000)" "$(silent 2000)" "$gave_up"
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
