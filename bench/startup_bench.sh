#!/usr/bin/env bash
# The start-up figure: from process start until the first frame with the first task's tiles on
# it reaches the X server, for the real program under Xvfb against the content server on port
# 80 (the address built into it), beside the floor every version of the game must pay, doing
# what the game does in the game's order on one thread (a window with a line of text, libcurl,
# the same 12 requests made when the window is shown, before it comes on the screen). A frame
# counts from when every probe point shows the colour it keeps once the window has settled.
# Prints "figure" lines like dravel_bench.
#
#   bench/startup_bench.sh GAME SOURCE_DIR BUILD_DIR ANSWERS_TOOL [RUNS]
#
# It serves port 80 while it runs: start it under flock /tmp/dravel-port80.lock.
set -euo pipefail
# shellcheck source=../tests/e2e/e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/e2e_lib.sh"
runs=${5:-9}
[[ $runs =~ ^[1-9][0-9]{0,2}$ ]] || { echo "startup_bench: bad run count '$runs'" >&2; exit 2; }
e2e_setup startup_bench "${@:1:4}" >&2
e2e_require Xvfb xdpyinfo xprop
floor=$E2E_BUILD/bench/floor_window
watch=$E2E_BUILD/bench/frame_watch
for program in "$floor" "$watch"; do
  [[ -x $program ]] || e2e_fail "no $program: build first"
done
first_task_requests=12 # "reading.jpg", the scheme, seven choices, three task tiles

# What the first frame must show: the centres of the three task tiles, the result picture and
# the seven choice tiles; for the floor, its text.
half=$((E2E_TASK_TILE_SIZE / 2))
game_probes=()
for x in "${E2E_TASK_TILE_X[@]}"; do game_probes+=("$((x + half)),$((E2E_TASK_TILE_Y + half))"); done
game_probes+=("$((E2E_RESULT[0] + E2E_RESULT[2] / 2)),$((E2E_RESULT[1] + E2E_RESULT[3] / 2))")
for k in 1 2 3 4 5 6 7; do
  game_probes+=("$(($(e2e_choice_x "$k") + E2E_CHOICE_SIZE / 2)),$((E2E_CHOICE_Y + E2E_CHOICE_SIZE / 2))")
done
floor_probes=()
for x in $(seq 1 2 79); do for y in $(seq 1 2 17); do floor_probes+=("$x,$y"); done; done

{
  e2e_serve_content
  e2e_start_xvfb
} >&2

microseconds() { echo $((10#${1/./})); } # $EPOCHREALTIME, without its point

# Runs the program under the watcher with its probes, checks its window's title and requests,
# and sets $took_us to the microseconds from the program's start to its first whole frame.
took_us=0
run_watched() {
  local title=$1 probes=() logged watcher program start tries=0 name
  shift
  while [[ $1 != -- ]]; do probes+=("$1"); shift; done
  shift
  logged=$(wc -l <"$E2E_ACCESS_LOG")
  "$watch" "${probes[@]}" >"$E2E_SCRATCH/watching" &
  watcher=$!
  until [[ $(head -n 1 "$E2E_SCRATCH/watching") == ready ]]; do
    ((++tries < 2000)) || e2e_fail "the frame watcher did not start"
    sleep 0.005
  done
  start=$EPOCHREALTIME
  "$@" >>"$E2E_SHOTS/game.log" 2>&1 &
  program=$!
  E2E_PIDS+=("$program")
  wait "$watcher" || e2e_fail "$title: no frame"
  ((tries = $(wc -l <"$E2E_ACCESS_LOG") - logged, tries == first_task_requests)) ||
    e2e_fail "$title made $tries requests, not $first_task_requests"
  kill -0 "$program" 2>/dev/null || e2e_fail "$title ended at start-up"
  # The game's no-data dialog would be a window too.
  name=$(xprop -id "$(sed -n 3p "$E2E_SCRATCH/watching")" WM_NAME 2>/dev/null |
    sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p')
  [[ $name == "$title" ]] || e2e_fail "a window \"$name\" came up, not \"$title\""
  took_us=$(($(sed -n 2p "$E2E_SCRATCH/watching") - $(microseconds "$start")))
  e2e_end_process "$program"
}

# Warm-up: fonts, libraries and content in the page cache; the game's run also gives the
# addresses the floor requests.
before=$(wc -l <"$E2E_ACCESS_LOG")
run_watched "Qovex Dravel" "${game_probes[@]}" -- "$E2E_GAME"
mapfile -t urls < <(tail -n "+$((before + 1))" "$E2E_ACCESS_LOG" |
  awk -F'"' '{ split($2, request, " "); print "http://localhost" request[2] }')
run_watched "Floor window" "${floor_probes[@]}" -- "$floor" "${urls[@]}"

game_us=()
floor_us=()
for ((run = 0; run < runs; ++run)); do
  # Who goes first alternates, so that load from elsewhere falls on both alike.
  for who in $((run % 2)) $((1 - run % 2)); do
    if ((who == 0)); then
      run_watched "Qovex Dravel" "${game_probes[@]}" -- "$E2E_GAME"
      game_us+=("$took_us")
    else
      run_watched "Floor window" "${floor_probes[@]}" -- "$floor" "${urls[@]}"
      floor_us+=("$took_us")
    fi
  done
done

# median, min and max in milliseconds of the numbers given
spread() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 / 1000 }
    END {
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%.6g\t%.6g\t%.6g", m, v[1], v[NR]
    }'
}
ratios=()
for ((run = 0; run < runs; ++run)); do
  ratios+=($((game_us[run] * 1000 / floor_us[run]))) # per mille: spread divides by 1000
done
printf 'figure\tStart-up: process start to first frame with the task\tms\t%s\t%s\t%s\t%s\t%s\n' \
  "$(spread "${game_us[@]}")" "floor: text, libcurl, 12 requests on show" \
  "$(spread "${floor_us[@]}")" "ratio<=1.15" "$(spread "${ratios[@]}" | cut -f1)"
printf 'note\tstart-up: %d runs under Xvfb, no window manager; a frame counts once %d points of the tiles show their settled colours\n' \
  "$runs" "${#game_probes[@]}"
