#!/usr/bin/env bash
# The start-up figure: from process start until the first frame with the first task's tiles on
# it reaches the X server, for the real program under Xvfb against the content server on port
# 80 (the address built into it), beside the floor every version of the game must pay (a
# window with a line of text, libcurl loaded, the same 12 requests) and a bare Qt window of the
# same size. A frame counts once every probe point shows the colour it has when the window has
# settled, learnt in a warm-up run. Prints "figure" lines like the other drivers.
#
#   bench/startup_bench.sh BUILD_DIR [RUNS]
#
# It serves port 80 while it runs: start it under flock /tmp/dravel-port80.lock. Exits 77,
# with a note, when it cannot run here.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
(($# >= 1 && $# <= 2)) || { echo "usage: bench/startup_bench.sh BUILD_DIR [RUNS]" >&2; exit 2; }
build=$(cd "$1" && pwd -P)
runs=${2:-9}
[[ $runs =~ ^[1-9][0-9]{0,2}$ ]] || { echo "startup_bench: bad run count '$runs'" >&2; exit 2; }

game=$build/app/qovex-dravel
bare=$build/bench/bare_window
floor=$build/bench/floor_window
watch=$build/bench/frame_watch
server=$root/scripts/content-server
access_log=$build/content-server/port-80/logs/access.log
first_task_requests=12  # "reading.jpg", the scheme, seven choices, three task tiles

# Window coordinates of what the first frame must show: the centres of the three task tiles,
# the result picture and the seven choice tiles (app/layout_table.cpp, nested group boxes
# added up); for the floor and the bare window, their text and a corner.
game_probes=(109,152 293,152 476,152 658,155)
for left in 54 142 230 318 406 494 582; do game_probes+=("$left,311"); done
text_probes=()
for x in $(seq 1 2 79); do for y in $(seq 1 2 17); do text_probes+=("$x,$y"); done; done
corner=700,300

skip() {
  printf 'note\tstart-up not measured: %s\n' "$*"
  exit 77
}
fail() {
  echo "startup_bench: $*" >&2
  exit 1
}

command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for program in "$game" "$bare" "$floor" "$watch"; do
  [[ -x $program ]] || fail "no $program: build first"
done
if (exec 3<>/dev/tcp/127.0.0.1/80) 2>/dev/null; then
  skip "something else serves port 80"
fi

scratch=$(mktemp -d)
pids=()
program_pid=""  # the program being timed
server_started=0
cleanup() {
  local pid
  for pid in $program_pid "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  ((server_started)) && "$server" stop --port 80 --build "$build" >/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

"$server" start --port 80 --build "$build" >/dev/null
server_started=1

# Xvfb picks a free display and writes its number to fd 3 once it takes clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" \
  2>"$scratch/xvfb.log" &
pids+=($!)
for ((waited = 0; waited < 100; ++waited)); do
  [[ -s $scratch/display ]] && break
  sleep 0.1
done
[[ -s $scratch/display ]] || fail "Xvfb did not start within 10 s"
export DISPLAY=":$(tr -dc '0-9' <"$scratch/display")"
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

microseconds() { echo $((10#${1/./})); }  # $EPOCHREALTIME, without its point

# Runs the program under the watcher (`mode` learn or watch, with its probes), checks its
# window's title and requests, and leaves the watcher's output in $scratch/watched. Sets
# $took_us to the microseconds from the program's start to its first final frame.
took_us=0
run_watched() {
  local title=$1 requests=$2 mode=$3
  shift 3
  local probes=()
  while (($#)) && [[ $1 != -- ]]; do probes+=("$1"); shift; done
  shift
  local logged
  logged=$(wc -l <"$access_log")
  "$watch" "$mode" "${probes[@]}" >"$scratch/watching" &
  local watcher=$! tries=0
  until [[ $(head -n 1 "$scratch/watching") == ready ]]; do
    ((++tries < 2000)) || fail "the frame watcher did not start"
    sleep 0.005
  done
  local start=$EPOCHREALTIME
  "$@" >>"$scratch/programs.log" 2>&1 &
  program_pid=$!
  wait "$watcher" || fail "$1: $(tail -n 3 "$scratch/programs.log" | tr '\n' ' ')no frame"
  tail -n +2 "$scratch/watching" >"$scratch/watched"
  for ((tries = 0; $(wc -l <"$access_log") < logged + requests; ++tries)); do
    ((tries < 5000)) || fail "$1 made $(($(wc -l <"$access_log") - logged)) requests, not $requests"
    sleep 0.001
  done
  kill -0 "$program_pid" 2>/dev/null ||
    fail "$1 ended at start-up: $(tail -n 3 "$scratch/programs.log" | tr '\n' ' ')"
  if [[ $mode == watch ]]; then
    local name window
    window=$(sed -n 2p "$scratch/watched")
    # The game's no-data dialog would be a window too.
    name=$(xprop -id "$window" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p')
    [[ $name == "$title" ]] || fail "$1 showed a window \"$name\", not \"$title\""
    took_us=$(($(head -n 1 "$scratch/watched") - $(microseconds "$start")))
  fi
  kill "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}

# Warm-up, learning the settled colours: fonts, libraries and content in the page cache; the
# game's run also gives the addresses the floor requests.
before=$(wc -l <"$access_log")
run_watched "Qovex Dravel" "$first_task_requests" learn "${game_probes[@]}" -- "$game"
mapfile -t game_final <"$scratch/watched"
mapfile -t urls < <(tail -n "+$((before + 1))" "$access_log" | head -n "$first_task_requests" |
  awk -F'"' '{ split($2, request, " "); print "http://localhost" request[2] }')
((${#urls[@]} == first_task_requests)) || fail "the warm-up made ${#urls[@]} requests"
# Text probes that the text covers, and a corner of the window's background.
text_final() {
  run_watched "$1" "$2" learn "$corner" "${text_probes[@]}" -- "${@:3}"
  awk -F= 'NR == 1 { background = $2; print; next } $2 != background' "$scratch/watched"
}
mapfile -t floor_final < <(text_final "Floor window" "$first_task_requests" "$floor" "${urls[@]}")
mapfile -t bare_final < <(text_final "Bare window" 0 "$bare")
((${#floor_final[@]} > 1 && ${#bare_final[@]} > 1)) || fail "no text found in the yardsticks' windows"

game_us=()
floor_us=()
bare_us=()
for ((run = 0; run < runs; ++run)); do
  # Who goes first alternates, so that load from elsewhere falls on all alike.
  if ((run % 2 == 0)); then
    run_watched "Qovex Dravel" "$first_task_requests" watch "${game_final[@]}" -- "$game"
    game_us+=("$took_us")
    run_watched "Floor window" "$first_task_requests" watch "${floor_final[@]}" -- "$floor" "${urls[@]}"
    floor_us+=("$took_us")
  else
    run_watched "Floor window" "$first_task_requests" watch "${floor_final[@]}" -- "$floor" "${urls[@]}"
    floor_us+=("$took_us")
    run_watched "Qovex Dravel" "$first_task_requests" watch "${game_final[@]}" -- "$game"
    game_us+=("$took_us")
  fi
  run_watched "Bare window" 0 watch "${bare_final[@]}" -- "$bare"
  bare_us+=("$took_us")
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
  ratios+=($((game_us[run] * 1000 / floor_us[run])))  # per mille: spread divides by 1000
done
ratio=$(spread "${ratios[@]}" | cut -f1)
printf 'figure\tStart-up: process start to first frame with the task\tms\t%s\t%s\t%s\t%s\t%s\n' \
  "$(spread "${game_us[@]}")" "floor: text, libcurl, the 12 requests" \
  "$(spread "${floor_us[@]}")" "ratio<=1.15" "$ratio"
printf 'figure\tStart-up: bare Qt window, 756 x 367, first frame\tms\t%s\t\t-\t-\t-\t-\n' \
  "$(spread "${bare_us[@]}")"
printf 'note\tstart-up: %d runs under Xvfb, no window manager; a frame counts once %d points of the tiles show their settled colours\n' \
  "$runs" "${#game_final[@]}"
