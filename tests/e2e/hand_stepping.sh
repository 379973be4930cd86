#!/usr/bin/env bash
# Hand stepping in the real program: "Start->Next" does nothing until the step switch is
# clicked; then each click on it puts reading.jpg in the result area and the next task on
# the tiles, and a pick shows its verdict without moving on. Switching back disables it again.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup hand_stepping "$@"
e2e_require Xvfb xdpyinfo xdotool import convert compare curl nginx
e2e_serve_content
e2e_start_xvfb

mapfile -t choices < <(e2e_choice_names)
e2e_first_tasks 4

e2e_start_game_checked
window=$E2E_WINDOW
e2e_locate_window "$window"

click_next() { e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"; }
click_step_switch() { e2e_click "$window" "${E2E_STEP_SWITCH[@]}"; }

mark=$(e2e_log_mark)
click_next
e2e_expect_no_requests "$mark" 1 "\"Start->Next\" in automatic stepping"
echo "ok: \"Start->Next\" is disabled at start"

mark=$(e2e_log_mark)
e2e_click_choice "$window" "${E2E_RIGHTS[1]}"
e2e_expect_requests "$mark" "a right pick in automatic stepping" ok.jpg "${choices[E2E_RIGHTS[1] - 1]}" \
  "$(e2e_turn_requests "${E2E_CODES[2]}")"
auto_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "${E2E_CODES[2]}" "$1"; }
e2e_expect_screen 1-auto-right "a right pick moves on at once to task ${E2E_CODES[2]}" auto_shown

mark=$(e2e_log_mark)
click_step_switch
e2e_expect_no_requests "$mark" 0.5 "the step switch"
click_next
e2e_expect_requests "$mark" "\"Start->Next\" in hand stepping" reading.jpg \
  "$(e2e_turn_requests "${E2E_CODES[3]}")"
next_shown() { e2e_result_shows reading.jpg "$1" && e2e_task_shown "${E2E_CODES[3]}" "$1"; }
e2e_expect_screen 2-hand-next "after the step switch \"Start->Next\" shows reading.jpg and task ${E2E_CODES[3]}" \
  next_shown

mark=$(e2e_log_mark)
e2e_click_choice "$window" "${E2E_RIGHTS[3]}"
e2e_expect_requests "$mark" "a right pick in hand stepping" ok.jpg "${choices[E2E_RIGHTS[3] - 1]}"
stay_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "${E2E_CODES[3]}" "$1"; }
e2e_expect_screen 3-hand-right "in hand stepping a right pick shows ok.jpg and task ${E2E_CODES[3]} stays" \
  stay_shown

mark=$(e2e_log_mark)
click_next
e2e_expect_requests "$mark" "the second \"Start->Next\"" reading.jpg \
  "$(e2e_turn_requests "${E2E_CODES[4]}")"
fourth_shown() { e2e_result_shows reading.jpg "$1" && e2e_task_shown "${E2E_CODES[4]}" "$1"; }
e2e_expect_screen 4-hand-next "\"Start->Next\" again: reading.jpg and task ${E2E_CODES[4]}" fourth_shown

mark=$(e2e_log_mark)
click_step_switch
click_next
e2e_expect_no_requests "$mark" 1 "\"Start->Next\" after switching back to automatic stepping"
echo "ok: switching back to automatic stepping disables \"Start->Next\""

kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
echo "hand stepping works; screenshots in $E2E_SHOTS"
