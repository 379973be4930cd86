#!/usr/bin/env bash
# The player moves the mouse and clicks in the window while "Start->Next" waits on a server
# that has gone silent: the no-data dialog that ends the wait closes on Return, the click
# made in the wait is judged once the server is back, and the game plays on.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup input_in_a_wait "$@"
e2e_require Xvfb xdpyinfo xdotool import convert compare curl nginx
e2e_serve_content
((E2E_SERVER_STARTED)) ||
  e2e_skip "this build's content server was running before the test, and the test would stop it"
e2e_start_xvfb

mapfile -t choices < <(e2e_choice_names)
e2e_answer 1
first_code=$E2E_CODE first_right=$E2E_RIGHT_TILE
e2e_answer 2
second_code=$E2E_CODE

e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_click "$window" "${E2E_STEP_SWITCH[@]}"  # hand stepping

# The game's connection goes with nginx; the next one reaches a server that only listens.
e2e_silence_content

e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
sleep 0.5
for x in 100 200 300 400 500; do xdotool mousemove --window "$window" "$x" 150; done
e2e_click_choice "$window" "$first_right"
xdotool mousemove --window "$window" 300 100
dialog=$(e2e_wait_window '^Confirm$' 20) || e2e_fail "no no-data dialog after the turn gave up"
echo "ok: after input in the wait the turn gave up with the no-data dialog"

e2e_end_process "$E2E_LISTENER"
e2e_serve_content
mark=$(e2e_log_mark)
e2e_press "$dialog" Return
for ((waited = 0; waited < 50; ++waited)); do
  xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1 || break
  sleep 0.1
done
((waited < 50)) || e2e_fail "the no-data dialog did not close on Return after input in the wait"
echo "ok: the no-data dialog closed on Return"

e2e_expect_requests "$mark" "the click made in the wait, judged once the server is back" ok.jpg \
  "${choices[first_right - 1]}"
judged() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "$first_code" "$1"; }
e2e_expect_screen 1-held-click "the click made in the wait shows its verdict on task $first_code" judged

mark=$(e2e_log_mark)
e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
e2e_expect_requests "$mark" "\"Start->Next\" with the server back" reading.jpg \
  "$(e2e_turn_requests "$second_code")"
next_shown() { e2e_task_shown "$second_code" "$1"; }
e2e_expect_screen 2-plays-on "the game plays on with task $second_code" next_shown
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
