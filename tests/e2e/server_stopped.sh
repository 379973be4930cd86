#!/usr/bin/env bash
# nginx stopped under the running program: "Start->Next" gives up after its attempts with
# the no-data dialog and the window stays, untouched; once the server is back the same task
# comes. nginx stopped at start-up: only the no-data dialog shows, and OK ends with 0.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup server_stopped "$@"
e2e_require Xvfb xdpyinfo xdotool import convert compare curl nginx
e2e_serve_content
((E2E_SERVER_STARTED)) ||
  e2e_skip "this build's content server was running before the test, and the test would stop it"
e2e_start_xvfb

e2e_answer 1
first_code=$E2E_CODE
e2e_answer 2
second_code=$E2E_CODE

mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$first_code")"
# Hand stepping, so that a turn comes only from "Start->Next".
e2e_click "$window" "${E2E_STEP_SWITCH[@]}"

e2e_stop_content
e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
dialog=$(e2e_wait_window '^Confirm$' 20) || e2e_fail "no no-data dialog after a turn with the server gone"
e2e_shot 1-turn-no-data
echo "ok: with the server gone \"Start->Next\" ends in the no-data dialog ($E2E_SHOTS/1-turn-no-data.png)"
e2e_press "$dialog" Return
for ((waited = 0; waited < 50; ++waited)); do
  xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1 || break
  sleep 0.1
done
((waited < 50)) || e2e_fail "the no-data dialog did not close on Return"
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended after a failed turn"
e2e_wait_window '^Qovex Dravel$' 1 >/dev/null || e2e_fail "the game window went away after a failed turn"
unchanged() { e2e_task_shown "$first_code" "$1" && e2e_result_shows reading.jpg "$1"; }
e2e_expect_screen 2-after-no-data "the window stays, still showing task $first_code" unchanged

e2e_serve_content
mark=$(e2e_log_mark)
e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"
e2e_expect_requests "$mark" "\"Start->Next\" with the server back" reading.jpg \
  "$(e2e_turn_requests "$second_code")"
recovered() { e2e_task_shown "$second_code" "$1"; }
e2e_expect_screen 3-server-back "with the server back the next task is $second_code, none skipped" recovered

# No window manager runs here to close the window: end the program, then start it afresh.
e2e_end_process "$E2E_GAME_PID"
e2e_stop_content
e2e_start_game
dialog=$(e2e_wait_window '^Confirm$' 30) || e2e_fail "no no-data dialog at start-up with the server stopped"
if e2e_wait_window '^Qovex Dravel$' 0 >/dev/null; then
  e2e_fail "the game window is on the screen beside the no-data dialog"
fi
e2e_shot 4-start-no-data
e2e_press "$dialog" Return
e2e_wait_exit "$E2E_GAME_PID" 10 || e2e_fail "the program did not end after OK"
((E2E_EXIT_CODE == 0)) || e2e_fail "exit code $E2E_EXIT_CODE after OK, expected 0"
echo "ok: with the server stopped at start-up only the no-data dialog shows; OK ends with 0 ($E2E_SHOTS/4-start-no-data.png)"
