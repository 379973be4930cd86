#!/usr/bin/env bash
# How long the real program leaves the desktop's ping unanswered: while the player clicks
# through turns against nginx on port 80, and while a click waits on a server that never
# answers. A desktop marks a window "not responding" after about 5 s; the goal is under 0.1 s.
#
#   bench/ping_bench.sh GAME SOURCE_DIR BUILD_DIR ANSWERS_TOOL
#
# It serves port 80 while it runs: start it under flock /tmp/dravel-port80.lock.
set -euo pipefail
# shellcheck source=../tests/e2e/e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/e2e_lib.sh"
e2e_setup ping_bench "$@" >&2
e2e_require Xvfb xdpyinfo xdotool import curl nginx
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || e2e_skip "python3-xlib is not installed"
probe() { /usr/bin/python3 "$E2E_SOURCE/tests/e2e/desktop_probe.py" "$@"; }
figure() {
  printf 'figure\t%s\tms\t%s\t%s\t%s\t\t-\t-\t-\tmax<100\n' "$1" "$2" "$2" "$2"
}
{
  e2e_serve_content
  ((E2E_SERVER_STARTED)) || e2e_skip "this build's content server was already running"
  e2e_start_xvfb
  e2e_start_game
} >&2
window=$(e2e_wait_game_window)
e2e_locate_window "$window" >&2

# Normal turns: a click on every choice in turn, ten times over, while pings go on.
probe pings "$window" 6 >"$E2E_SCRATCH/turns" &
pinger=$!
for ((click = 0; click < 35; ++click)); do
  e2e_click "$window" "$(e2e_choice_x $((click % 7 + 1)))" "$E2E_CHOICE_Y"
  sleep 0.15
done
wait "$pinger" || e2e_fail "a ping went unanswered during the turns"
read -r longest count <"$E2E_SCRATCH/turns"
figure "Longest unanswered ping, 35 clicks on loopback ($count pings)" \
  "$(awk -v s="$longest" 'BEGIN { printf "%.1f", s * 1000 }')"

# A wait on a silent server: the next click waits 4 s for its verdict picture.
e2e_stop_content >&2
/usr/bin/python3 "$E2E_SOURCE/tests/e2e/silent_listener.py" 80 &
E2E_PIDS+=($!)
sleep 0.5
e2e_click "$window" "$(e2e_choice_x 1)" "$E2E_CHOICE_Y"
sleep 0.5
probe pings "$window" 3 >"$E2E_SCRATCH/silent" || e2e_fail "a ping went unanswered in the wait"
read -r longest count <"$E2E_SCRATCH/silent"
figure "Longest unanswered ping, a click waiting on a silent server ($count pings)" \
  "$(awk -v s="$longest" 'BEGIN { printf "%.1f", s * 1000 }')"
