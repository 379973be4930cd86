#!/usr/bin/env bash
# The real program as a screen reader reaches it, over AT-SPI on a D-Bus session of its own:
# seven choice tiles that are push buttons with a press action, nothing offered that never
# shows, a press judged as a click is (the same requests in the same order), and the verdict
# told as a notification that shows. Then the keyboard alone: Tab
# reaches a tile and Space presses it, Alt+S switches to hand stepping.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
if [[ -z ${E2E_OWN_SESSION_BUS:-} ]]; then
  command -v dbus-run-session >/dev/null || e2e_skip "dbus-run-session is not installed"
  E2E_OWN_SESSION_BUS=1 exec dbus-run-session -- bash "${BASH_SOURCE[0]}" "$@"
fi
e2e_setup assistive_technology "$@"
e2e_require Xvfb xdpyinfo xdotool import curl nginx
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  e2e_skip "python3-pyatspi is not installed (scripts/install-deps installs it)"
[[ -x /usr/libexec/at-spi-bus-launcher ]] || e2e_skip "at-spi2-core is not installed"
e2e_serve_content
e2e_start_xvfb
client() { /usr/bin/python3 "$E2E_SOURCE/tests/e2e/atspi_client.py" "$@" 2>>"$E2E_SHOTS/client.log"; }

# Qt offers its accessible tree to the bus without waiting for a screen reader to ask.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mapfile -t choices < <(e2e_choice_names)
e2e_first_tasks 4

e2e_start_game_checked
window=$E2E_WINDOW
# There is no window manager: give the window the focus as a desktop does.
xdotool windowfocus --sync "$window"

mapfile -t offered < <(client tree) || e2e_fail "the accessible tree: $(tail -n 1 "$E2E_SHOTS/client.log")"
for k in 1 2 3 4 5 6 7; do
  [[ ${offered[k - 1]:-} == "${choices[k - 1]%.jpg}" ]] ||
    e2e_fail "choice tile $k is named '${offered[k - 1]:-}', not after ${choices[k - 1]}"
done
echo "ok: seven choice tiles, push buttons named after their pictures, nothing that never shows"

# Each press: the requests of a click on that tile, then the verdict told and shown.
expect_press() {
  local what=$1 tile=$2 verdict=$3 picture=$4 next_code=$5 said
  shift 5
  mark=$(e2e_log_mark)
  said=$(client "$@") || e2e_fail "$what: $(tail -n 1 "$E2E_SHOTS/client.log")"
  e2e_expect_requests "$mark" "$what" "$picture" "${choices[tile - 1]}" \
    "$(e2e_turn_requests "$next_code")"
  grep -qx "told: Result: $verdict" <<<"$said" || e2e_fail "$what: told '$said'"
  grep -qx "result: Result: $verdict" <<<"$said" || e2e_fail "$what: the result reads '$said'"
  echo "ok: $what: judged as a click, and $(head -n 1 <<<"$said")"
}

expect_press "a press on the right tile ${E2E_RIGHTS[1]}" "${E2E_RIGHTS[1]}" right ok.jpg "${E2E_CODES[2]}" \
  press "${E2E_RIGHTS[1]}"
wrong=$((E2E_RIGHTS[2] % 7 + 1))
expect_press "a press on the wrong tile $wrong" "$wrong" wrong no.jpg "${E2E_CODES[3]}" press "$wrong"

# The keyboard: the focus is on the first tile; Tab takes it to the second, Space presses it.
expected=right
((E2E_RIGHTS[3] == 2)) || expected=wrong
picture=ok.jpg
[[ $expected == right ]] || picture=no.jpg
expect_press "Tab, then Space on tile 2" 2 "$expected" "$picture" "${E2E_CODES[4]}" keys Tab space
seen=$(client names) || e2e_fail "the accessible tree: $(tail -n 1 "$E2E_SHOTS/client.log")"
focus=$(grep '^focused: ' <<<"$seen") || true
[[ $focus == "focused: ${choices[1]%.jpg} (2 of 7)" ]] ||
  e2e_fail "after Tab and Space the focus is not on tile 2: '$focus'"

mark=$(e2e_log_mark)
xdotool key --clearmodifiers alt+s
sleep 0.5
seen=$(client names) || e2e_fail "the accessible tree: $(tail -n 1 "$E2E_SHOTS/client.log")"
grep -qx 'button: AutoStep' <<<"$seen" || e2e_fail "Alt+S did not switch to hand stepping"
e2e_expect_no_requests "$mark" 0.5 "Alt+S"
focus=$(grep '^focused: ' <<<"$seen") || true
[[ $focus == "focused: ${choices[1]%.jpg} "* ]] || e2e_fail "Alt+S moved the focus: '$focus'"
echo "ok: Alt+S switches to hand stepping and leaves the focus where it was"
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended"
