#!/usr/bin/env bash
# The start-up figure: from process start until the first task is on the screen, for the real
# program under Xvfb against the content server on port 80 (the address built into it), beside
# a bare Qt window of the same size started the same way plus bare libcurl making the same
# twelve requests on a new connection. The floor window shows what of the difference no game
# window can avoid. Prints "figure" lines like the other drivers.
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
fetch_clock=$build/bench/fetch_clock
server=$root/scripts/content-server
access_log=$build/content-server/port-80/logs/access.log
first_task_requests=12  # "reading.jpg", the scheme, seven choices, three task tiles

skip() {
  printf 'note\tstart-up not measured: %s\n' "$*"
  exit 77
}
fail() {
  echo "startup_bench: $*" >&2
  exit 1
}

for tool in Xvfb xev xprop stdbuf; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
for program in "$game" "$bare" "$floor" "$fetch_clock"; do
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

# There is no window manager: every top-level window a program maps is a child of the root,
# so xev on the root reports the moment it is mapped, one line at a time.
mkfifo "$scratch/events"
stdbuf -oL xev -root -event substructure >"$scratch/events" &
pids+=($!)
exec 4<"$scratch/events"
sleep 0.5  # xev selects its events once connected

microseconds() { echo $((10#${1/./})); }  # $EPOCHREALTIME, without its point

drain_events() {
  local line
  while read -r -t 0.05 -u 4 line; do :; done
}

# Starts a program and sets $took_us to the microseconds from its start until its window,
# named `title`, is mapped and the server has logged `requests` more requests.
took_us=0
time_start() {
  local title=$1 requests=$2
  shift 2
  drain_events
  local logged=0
  logged=$(wc -l <"$access_log")
  local start=$EPOCHREALTIME
  "$@" >>"$scratch/programs.log" 2>&1 &
  program_pid=$!
  local pid=$program_pid line mapped="" ready window=""
  while read -r -t 20 -u 4 line; do
    if [[ $line == MapNotify* ]]; then
      mapped=$EPOCHREALTIME
      read -r -t 5 -u 4 line || true
      window=$(sed -n 's/.* window \(0x[0-9a-f]*\),.*/\1/p' <<<"$line")
      break
    fi
  done
  [[ -n $mapped ]] || fail "no window of $1 appeared within 20 s"
  ready=$mapped
  local tries
  for ((tries = 0; $(wc -l <"$access_log") < logged + requests; ++tries)); do
    ((tries < 5000)) || fail "$1 made $(($(wc -l <"$access_log") - logged)) requests, not $requests"
    sleep 0.001
    ready=$EPOCHREALTIME
  done
  kill -0 "$pid" 2>/dev/null ||
    fail "$1 ended at start-up: $(tail -n 3 "$scratch/programs.log" | tr '\n' ' ')"
  # The game's no-data dialog would be a window too.
  local name
  name=$(xprop -id "$window" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p')
  [[ $name == "$title" ]] || fail "$1 showed a window \"$name\", not \"$title\""
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  program_pid=""
  took_us=$(($(microseconds "$ready") - $(microseconds "$start")))
}

# Warm-up: fonts, libraries and content in the page cache; it also gives the addresses.
before=$(wc -l <"$access_log")
time_start "Qovex Dravel" "$first_task_requests" "$game"
mapfile -t urls < <(tail -n "+$((before + 1))" "$access_log" | head -n "$first_task_requests" |
  awk -F'"' '{ split($2, request, " "); print "http://localhost" request[2] }')
((${#urls[@]} == first_task_requests)) || fail "the warm-up made ${#urls[@]} requests"
time_start "Bare window" 0 "$bare"
time_start "Floor window" 0 "$floor"
"$fetch_clock" "${urls[@]}" >/dev/null

game_us=()
bare_us=()
floor_us=()
curl_us=()
run_game() {
  time_start "Qovex Dravel" "$first_task_requests" "$game"
  game_us+=("$took_us")
}
run_bare() {
  time_start "Bare window" 0 "$bare"
  bare_us+=("$took_us")
}
for ((run = 0; run < runs; ++run)); do
  # Who goes first alternates, so that load from elsewhere falls on both alike.
  if ((run % 2 == 0)); then
    run_game
    run_bare
  else
    run_bare
    run_game
  fi
  curl_us+=("$("$fetch_clock" "${urls[@]}")")
  time_start "Floor window" 0 "$floor"
  floor_us+=("$took_us")
done

# median, min and max in milliseconds of the numbers given
spread() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 / 1000 }
    END {
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%.6g\t%.6g\t%.6g", m, v[1], v[NR]
    }'
}
baseline_us=()
ratios=()
for ((run = 0; run < runs; ++run)); do
  baseline_us+=($((bare_us[run] + curl_us[run])))
  ratios+=($((game_us[run] * 1000 / baseline_us[run])))  # per mille: spread divides by 1000
done
ratio=$(spread "${ratios[@]}" | cut -f1)
printf 'figure\tStart-up: process start to first task on the screen\tms\t%s\t%s\t%s\t%s\t%s\n' \
  "$(spread "${game_us[@]}")" "bare Qt window + libcurl 12 requests" \
  "$(spread "${baseline_us[@]}")" "ratio<=1.5" "$ratio"
printf 'figure\tStart-up: floor: bare window + a label, libcurl loaded\tms\t%s\t%s\t%s\t-\n' \
  "$(spread "${floor_us[@]}")" "bare Qt window + libcurl 12 requests" "$(spread "${baseline_us[@]}")"
printf 'figure\tStart-up: bare Qt window, 756 x 367\tms\t%s\t\t-\t-\t-\t-\n' \
  "$(spread "${bare_us[@]}")"
printf 'figure\tStart-up: libcurl, the 12 requests on a new connection\tms\t%s\t\t-\t-\t-\t-\n' \
  "$(spread "${curl_us[@]}")"
printf 'note\tstart-up: %d runs under Xvfb, no window manager; on the screen = window mapped and the 12 requests served\n' \
  "$runs"
