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
codes=() right=()
for position in 1 2 3 4; do
  e2e_answer "$position"
  codes[position]=$E2E_CODE right[position]=$E2E_RIGHT_TILE
done

mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "${codes[1]}")"

click_next() { e2e_click "$window" "${E2E_NEXT_BUTTON[@]}"; }
click_step_switch() { e2e_click "$window" "${E2E_STEP_SWITCH[@]}"; }

mark=$(e2e_log_mark)
click_next
e2e_expect_no_requests "$mark" 1 "\"Start->Next\" in automatic stepping"
echo "ok: \"Start->Next\" is disabled at start"

mark=$(e2e_log_mark)
e2e_click_choice "$window" "${right[1]}"
e2e_expect_requests "$mark" "a right pick in automatic stepping" ok.jpg "${choices[right[1] - 1]}" \
  "$(e2e_turn_requests "${codes[2]}")"
auto_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "${codes[2]}" "$1"; }
e2e_expect_screen 1-auto-right "a right pick moves on at once to task ${codes[2]}" auto_shown

mark=$(e2e_log_mark)
click_step_switch
e2e_expect_no_requests "$mark" 0.5 "the step switch"
click_next
e2e_expect_requests "$mark" "\"Start->Next\" in hand stepping" reading.jpg \
  "$(e2e_turn_requests "${codes[3]}")"
next_shown() { e2e_result_shows reading.jpg "$1" && e2e_task_shown "${codes[3]}" "$1"; }
e2e_expect_screen 2-hand-next "after the step switch \"Start->Next\" shows reading.jpg and task ${codes[3]}" \
  next_shown

mark=$(e2e_log_mark)
e2e_click_choice "$window" "${right[3]}"
e2e_expect_requests "$mark" "a right pick in hand stepping" ok.jpg "${choices[right[3] - 1]}"
stay_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "${codes[3]}" "$1"; }
e2e_expect_screen 3-hand-right "in hand stepping a right pick shows ok.jpg and task ${codes[3]} stays" \
  stay_shown

mark=$(e2e_log_mark)
click_next
e2e_expect_requests "$mark" "the second \"Start->Next\"" reading.jpg \
  "$(e2e_turn_requests "${codes[4]}")"
fourth_shown() { e2e_result_shows reading.jpg "$1" && e2e_task_shown "${codes[4]}" "$1"; }
e2e_expect_screen 4-hand-next "\"Start->Next\" again: reading.jpg and task ${codes[4]}" fourth_shown

mark=$(e2e_log_mark)
click_step_switch
click_next
e2e_expect_no_requests "$mark" 1 "\"Start->Next\" after switching back to automatic stepping"
echo "ok: switching back to automatic stepping disables \"Start->Next\""

kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
echo "hand stepping works; screenshots in $E2E_SHOTS"
