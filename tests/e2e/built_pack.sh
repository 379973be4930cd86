#!/usr/bin/env bash
# A pack that dravel-content builds from an author's own pictures plays in the real program:
# the game asks for the built names, its tiles show the built pictures and its result area
# the author's waiting picture, and a right pick moves on.
set -euo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_setup built_pack "$@"
e2e_require Xvfb xdpyinfo xdotool import convert compare curl nginx
generated=$E2E_PACK
tool="$E2E_BUILD/tools/dravel-content"
[[ -x $tool ]] || e2e_fail "no dravel-content in $E2E_BUILD/tools: build the project first"

# The author's pictures: the generated cells as PNG files with names of their own, and a
# waiting picture unlike the generated one.
author="$E2E_SCRATCH/author"
mkdir -p "$author"
mapfile -t cells < <(tr -d '\r' <"$generated/$DRAVEL_SCHEME_FILE")
{
  for ((i = 0; i < 49; ++i)); do
    name="Row $((i / 7 + 1)) Col $((i % 7 + 1)).png"
    convert "$generated/${cells[i]}" "$author/$name"
    echo "author/$name"
  done
  convert "$generated/$DRAVEL_RIGHT_PICTURE" -negate "$author/Waiting.png"
  echo "$DRAVEL_READING_PICTURE: author/Waiting.png"
} >"$E2E_SCRATCH/grid.txt"

# Served as a build folder of its own, so that the server's log is this pack's alone.
generated_build=$E2E_BUILD
E2E_BUILD="$E2E_SCRATCH/author-build"
E2E_PACK="$E2E_BUILD/content-pack/$E2E_FOLDER_PATH"
E2E_ACCESS_LOG="$E2E_BUILD/content-server/port-80/logs/access.log"
mkdir -p "$E2E_BUILD"
cp "$generated_build/content-layout.env" "$E2E_BUILD/"
QT_QPA_PLATFORM=offscreen "$tool" build "$E2E_SCRATCH/grid.txt" "$E2E_PACK" >"$E2E_SHOTS/build.log" 2>&1 ||
  { cat "$E2E_SHOTS/build.log" >&2; e2e_fail "dravel-content build failed"; }
[[ $(e2e_cell 2 3) == row-2-col-3.jpg ]] || e2e_fail "the built scheme names row 2, column 3 '$(e2e_cell 2 3)'"
echo "ok: built a pack from the author's pictures"

e2e_serve_content
e2e_start_xvfb
e2e_answer 1
first_code=$E2E_CODE first_right=$E2E_RIGHT_TILE
e2e_answer 2
second_code=$E2E_CODE

mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "$first_code")"
start_shown() { e2e_task_shown "$first_code" "$1" && e2e_result_shows reading.jpg "$1"; }
e2e_expect_screen 1-start "the built pack's first task $first_code and the author's waiting picture" \
  start_shown

mapfile -t choices < <(e2e_choice_names)
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$first_right"
e2e_expect_requests "$mark" "a right pick" ok.jpg "${choices[first_right - 1]}" \
  "$(e2e_turn_requests "$second_code")"
right_shown() { e2e_result_shows ok.jpg "$1" && e2e_task_shown "$second_code" "$1"; }
e2e_expect_screen 2-right "tile $first_right is right: ok.jpg, then task $second_code" right_shown
echo "played the built pack; screenshots in $E2E_SHOTS"
