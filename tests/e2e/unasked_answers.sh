#!/usr/bin/env bash
# A content server that sends a whole answer nobody asked for after every verdict picture, as
# a write of its own 0 to 20 ms later: in 10 games of 3 clicks, every request names a file of
# the pack, no dialog comes, and no two connections are open at once. The second and third
# clicks make 13 requests each; the first makes 13, or 14 when the unasked answer came after
# the pick had been asked for: it passes for the pick's (the hidden "Last Task:" copy), the
# pick's own then comes for the scheme, is refused as a picture, and the scheme is asked for
# once more on a connection of its own.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup unasked_answers "$@"
e2e_require Xvfb xdpyinfo xdotool
e2e_port_closed 80 || e2e_skip "port 80 on 127.0.0.1 is taken by another program"
if ((EUID != 0)) && ! sudo -n true 2>/dev/null; then
  e2e_skip "listening on port 80 needs root, and sudo asks for a password here"
fi
events="$E2E_SHOTS/events.log"
delays=(0 1 2 4 6 9 12 15 18 20)
# Serves with the unasked answers $1 ms after each verdict picture; its pid in server_pid.
serve() {
  /usr/bin/python3 "$E2E_SOURCE/tests/e2e/unasked_answer_server.py" 80 "$E2E_FOLDER_PATH" \
    "$E2E_PACK" "$events" "$1" 2>>"$E2E_SHOTS/server.log" &
  server_pid=$!
  E2E_PIDS+=("$server_pid")
  e2e_wait_listening "the server of this test does not listen on port 80"
}
e2e_start_xvfb

gets() { grep -c '^get ' "$events" || true; }
# Waits until $1 requests in all have come, and a moment more for any that would follow.
wait_gets() {
  local waited
  for ((waited = 0; waited < 150; ++waited)); do
    (($(gets) >= $1)) && break
    sleep 0.1
  done
  sleep 0.3
}
no_dialog() {
  (($(xdotool search --onlyvisible --name '^Qovex Dravel$' 2>/dev/null | grep -c '') == 1)) &&
    ! xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1
}

counts=()
for game in $(seq 10); do
  : >"$events"
  serve "${delays[game - 1]}"
  e2e_start_game
  window=$(e2e_wait_game_window)
  wait_gets 12
  start=$(gets)
  ((start == 12)) || e2e_fail "game $game: $start requests at start, not 12"
  before=$start
  for click in 1 2 3; do
    e2e_click_choice "$window" $(((game + click) % 7 + 1))
    wait_gets $((before + 13))
    no_dialog || e2e_fail "game $game, click $click: a dialog came"
    made=$(($(gets) - before))
    if ((click == 1 && made == 14)); then
      (($(grep -c ' shemoftask.txt$' "$events") == 3)) ||
        e2e_fail "game $game: the one request made twice is not the scheme's"
    elif ((made != 13)); then
      e2e_fail "game $game, click $click: $made requests, not 13"
    fi
    before=$(gets)
  done
  made=$(($(gets) - start))
  counts+=("$made")
  while read -r name; do
    [[ -f $E2E_PACK/$name ]] || e2e_fail "game $game asked for \"$name\", no file of the pack"
  done < <(sed -n 's/^get [0-9]* [0-9.]* //p' "$events")
  e2e_end_process "$E2E_GAME_PID"
  sleep 0.2
  e2e_end_process "$server_pid"
  # A connection counts as open from its accept to the moment the server reads its end; the
  # server may read that a little after the next one is accepted, so 50 ms are allowed.
  overlap=$(awk '
    $1 == "open" { opened[$2] = $3 }
    $1 == "close" { closed[$2] = $3 }
    END {
      for (a in opened) for (b in opened) if (a != b && opened[b] > opened[a] &&
          (!(a in closed) || closed[a] > opened[b] + 0.05)) n++
      print n + 0
    }' "$events")
  ((overlap == 0)) || e2e_fail "game $game: $overlap times two connections were open at once"
  echo "ok: game $game (unasked answers ${delays[game - 1]} ms after each verdict picture): $made requests over 3 clicks, $(grep -c '^open ' "$events") connections, one at a time, no dialog"
done
echo "ok: requests over 3 clicks in the 10 games: ${counts[*]}"
