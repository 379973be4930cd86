#!/usr/bin/env bash
# With no content server the program shows only the no-data dialog; OK ends it with exit code 0.
set -euo pipefail
exe=$1
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_require Xvfb xdotool xdpyinfo
e2e_port_closed 80 || e2e_skip "something serves port 80 here, so the server is not missing"

e2e_start_xvfb
"$exe" &
pid=$!
E2E_PIDS+=("$pid")

dialog=$(e2e_wait_window '^Confirm$' 30) || e2e_fail "the no-data dialog did not appear"
if e2e_wait_window '^Qovex Dravel$' 0 >/dev/null; then
  e2e_fail "the game window is on the screen beside the dialog"
fi
e2e_press "$dialog" Return
rc=$(e2e_wait_exit "$pid" 10) || e2e_fail "the program did not end after OK"
[[ $rc == 0 ]] || e2e_fail "exit code $rc, expected 0"
echo "no-data dialog shown; OK ended the program with exit code 0"
