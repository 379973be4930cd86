#!/usr/bin/env bash
# The real program against nginx and the generated pack: the window comes up fixed at the
# layout's size, centred, with the first task; a right pick shows ok.jpg and the next task, a
# wrong pick shows no.jpg small and hides the big picture. The screen is checked by its
# pixels, the content server's log for the requests the game made and their order.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup play "$@"
e2e_require Xvfb xdpyinfo xdotool xprop import convert compare curl nginx
e2e_serve_content
e2e_start_xvfb

mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"

((E2E_WINDOW_WIDTH == E2E_CLIENT_WIDTH && E2E_WINDOW_HEIGHT == E2E_CLIENT_HEIGHT)) ||
  e2e_fail "the window is ${E2E_WINDOW_WIDTH} x $E2E_WINDOW_HEIGHT, not $E2E_CLIENT_WIDTH x $E2E_CLIENT_HEIGHT"
# Centred by its size; an odd remainder may go either way.
for axis in X Y; do
  if [[ $axis == X ]]; then
    at=$E2E_WINDOW_X free=$((E2E_SCREEN_WIDTH - E2E_WINDOW_WIDTH))
  else
    at=$E2E_WINDOW_Y free=$((E2E_SCREEN_HEIGHT - E2E_WINDOW_HEIGHT))
  fi
  ((at * 2 >= free - 1 && at * 2 <= free + 1)) ||
    e2e_fail "the window is not centred: $axis = $at on a screen with $free pixels to spare"
done
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
size="$E2E_CLIENT_WIDTH by $E2E_CLIENT_HEIGHT"
if ! grep -q "minimum size: $size" <<<"$hints" || ! grep -q "maximum size: $size" <<<"$hints"; then
  e2e_fail "the window can be resized: $hints"
fi
echo "ok: the window is $E2E_CLIENT_WIDTH x $E2E_CLIENT_HEIGHT, fixed, at $E2E_WINDOW_X, $E2E_WINDOW_Y (centred)"
# The desktop entry matches the running window to itself by this class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$E2E_SOURCE"/packaging/*.desktop)
classes=$(xprop -id "$window" WM_CLASS)
if [[ -z $wm_class ]] || ! grep -qF "\"$wm_class\"" <<<"$classes"; then
  e2e_fail "the desktop entry's StartupWMClass '$wm_class' is not the window's: $classes"
fi
echo "ok: the window's class is the desktop entry's StartupWMClass ($wm_class)"

e2e_answer 1
first_code=$E2E_CODE first_right=$E2E_RIGHT_TILE
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$first_code")"
start_shown() { e2e_task_shown "$first_code" "$1" && e2e_result_shows reading.jpg "$1"; }
e2e_expect_screen 1-start "the first task $first_code is on show, reading.jpg in the result area" \
  start_shown

e2e_answer 2
second_code=$E2E_CODE second_right=$E2E_RIGHT_TILE
mapfile -t choices < <(e2e_choice_names)
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$first_right"
e2e_expect_requests "$mark" "a right pick" ok.jpg "${choices[first_right - 1]}" \
  "$(e2e_turn_requests "$second_code")"
right_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "$second_code" "$1"; }
e2e_expect_screen 2-right "tile $first_right is right: ok.jpg, then the next task $second_code" \
  right_shown

e2e_answer 3
third_code=$E2E_CODE
wrong=$((second_right % 7 + 1))
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$wrong"
e2e_expect_requests "$mark" "a wrong pick" no.jpg "${choices[wrong - 1]}" \
  "$(e2e_turn_requests "$third_code")"
wrong_shown() { e2e_wrong_shown "$1" && e2e_task_shown "$third_code" "$1"; }
e2e_expect_screen 3-wrong "tile $wrong is wrong: no.jpg small, the big picture gone, then task $third_code" \
  wrong_shown

kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
[[ ! -s $E2E_SHOTS/game.log ]] || e2e_fail "the program wrote: $(head -c 2000 "$E2E_SHOTS/game.log")"
echo "played a right and a wrong pick, and the program wrote nothing; screenshots in $E2E_SHOTS"
