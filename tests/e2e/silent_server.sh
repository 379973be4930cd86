#!/usr/bin/env bash
# A content server that takes the connection and never answers, while a click waits for it:
# the window answers the desktop's ping and repaints what a window mapped over it uncovered,
# within half a second each, and a close request ends the program within 2 s with 0.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup silent_server "$@"
e2e_require Xvfb xdpyinfo xdotool import curl nginx
/usr/bin/python3 -c 'import Xlib' 2>/dev/null ||
  e2e_skip "python3-xlib is not installed (scripts/install-deps installs it)"
probe() { /usr/bin/python3 "$E2E_SOURCE/tests/e2e/desktop_probe.py" "$@"; }
e2e_serve_content
((E2E_SERVER_STARTED)) ||
  e2e_skip "this build's content server was running before the test, and the test would stop it"
e2e_start_xvfb

e2e_answer 1
mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$E2E_CODE")"

# The game's connection goes with nginx; the next one reaches a server that only listens.
e2e_silence_content

e2e_click "$window" "$(e2e_choice_x 1)" "$E2E_CHOICE_Y"
sleep 1  # the click now waits for its verdict picture, up to 8 s
seconds=$(probe ping "$window") || e2e_fail "no answer to the desktop's ping while a click waits"
awk -v s="$seconds" 'BEGIN { exit !(s < 0.5) }' ||
  e2e_fail "the ping took $seconds s while a click waited"
echo "ok: while a click waits the window answers the desktop's ping in $seconds s"

seconds=$(probe expose "$window") || e2e_fail "the uncovered window was not repainted"
awk -v s="$seconds" 'BEGIN { exit !(s < 0.5) }' ||
  e2e_fail "the uncovered window took $seconds s to show its pixels again"
echo "ok: uncovered while a click waits, the window shows what it showed, in $seconds s"

probe close "$window" >/dev/null
e2e_wait_exit "$E2E_GAME_PID" 2 || e2e_fail "the program did not end within 2 s of the close request"
((E2E_EXIT_CODE == 0)) || e2e_fail "exit code $E2E_EXIT_CODE after the close request, expected 0"
echo "ok: a close request in the wait ends the program within 2 s with 0"
