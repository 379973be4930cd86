#!/usr/bin/env bash
# With no content server at all the program shows only the no-data dialog; OK ends it with
# exit code 0.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup no_content_server "$@"
e2e_require Xvfb xdpyinfo xdotool import
e2e_port_closed 80 || e2e_skip "something serves port 80 here, so the server is not missing"

e2e_start_xvfb
e2e_start_game
dialog=$(e2e_wait_window '^Confirm$' 30) || e2e_fail "the no-data dialog did not appear"
if e2e_wait_window '^Qovex Dravel$' 0 >/dev/null; then
  e2e_fail "the game window is on the screen beside the dialog"
fi
e2e_shot no-data
e2e_press "$dialog" Return
e2e_wait_exit "$E2E_GAME_PID" 10 || e2e_fail "the program did not end after OK"
((E2E_EXIT_CODE == 0)) || e2e_fail "exit code $E2E_EXIT_CODE, expected 0"
echo "no-data dialog shown ($E2E_SHOTS/no-data.png); OK ended the program with exit code 0"
