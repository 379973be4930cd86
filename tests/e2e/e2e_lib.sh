# Helpers for end-to-end runs of the real program under Xvfb. Every wait is bounded.
# Source it, then call e2e_setup NAME "$@" with the arguments CTest passes:
#   GAME SOURCE_DIR BUILD_DIR ANSWERS_TOOL
# A test that cannot run here exits with 77, which CTest reports as skipped.

E2E_PIDS=()
E2E_SERVER_STARTED=0
E2E_SHOTS=""
E2E_SCRATCH=""
E2E_GAME_PID=""

e2e_skip() {
  echo "SKIPPED: $*"
  exit 77
}

# Saves what the screen showed, so that a failure can be looked at afterwards.
e2e_fail() {
  echo "FAILED: $*" >&2
  if [[ -n ${DISPLAY:-} && -n $E2E_SHOTS ]] && import -window root "$E2E_SHOTS/failure.png" 2>/dev/null; then
    echo "screenshot of the failure: $E2E_SHOTS/failure.png" >&2
  fi
  if [[ -n $E2E_SHOTS && -s $E2E_SHOTS/game.log ]]; then
    echo "the program's output ($E2E_SHOTS/game.log):" >&2
    tail -n 20 "$E2E_SHOTS/game.log" >&2
  fi
  exit 1
}

e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (scripts/install-deps installs it)"
  done
}

# True when nothing accepts connections on 127.0.0.1:$1.
e2e_port_closed() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Drops an ended process from the list that the cleanup ends.
e2e_forget() {
  local i
  for i in "${!E2E_PIDS[@]}"; do
    [[ ${E2E_PIDS[i]} == "$1" ]] && unset "E2E_PIDS[i]"
  done
  E2E_PIDS=("${E2E_PIDS[@]}")
}

e2e_end_process() {
  local pid=$1 waited
  e2e_forget "$pid"
  kill -TERM "$pid" 2>/dev/null || return 0
  for ((waited = 0; waited < 50; ++waited)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
  local i
  # Last started, first ended: the program before the display it runs on.
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; --i)); do e2e_end_process "${E2E_PIDS[i]}"; done
  if ((E2E_SERVER_STARTED)); then
    "$E2E_SOURCE/scripts/content-server" stop --port 80 --build "$E2E_BUILD" >/dev/null || true
  fi
  [[ -n $E2E_SCRATCH ]] && rm -rf "$E2E_SCRATCH"
}

e2e_setup() {
  local name=$1
  (($# >= 5)) || { echo "usage: $0 GAME SOURCE_DIR BUILD_DIR ANSWERS_TOOL" >&2; exit 2; }
  E2E_GAME=$2
  E2E_SOURCE=$3
  E2E_BUILD=$(cd "$4" && pwd -P)
  E2E_ANSWERS=$5
  # shellcheck source=/dev/null
  source "$E2E_BUILD/content-layout.env" || e2e_fail "no content-layout.env in $E2E_BUILD"
  e2e_read_layout
  E2E_FOLDER_PATH=$DRAVEL_CONTENT_FOLDER
  E2E_PACK="$E2E_BUILD/content-pack/$E2E_FOLDER_PATH"
  E2E_ACCESS_LOG="$E2E_BUILD/content-server/port-80/logs/access.log"
  [[ -x $E2E_GAME ]] || e2e_fail "no program at $E2E_GAME: build the project first"
  E2E_SHOTS="$E2E_BUILD/tests/e2e/screenshots/$name"
  mkdir -p "$E2E_SHOTS"
  rm -f "$E2E_SHOTS"/*.png "$E2E_SHOTS"/*.log
  E2E_SCRATCH=$(mktemp -d)
  # Qt wants a private runtime folder; root has none without a login session.
  export XDG_RUNTIME_DIR="$E2E_SCRATCH/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# Starts Xvfb on a display it picks itself and exports DISPLAY.
E2E_SCREEN_WIDTH=1280
E2E_SCREEN_HEIGHT=800
e2e_start_xvfb() {
  local display_file="$E2E_SCRATCH/display" waited
  # Xvfb writes the display number to fd 3 once it accepts clients.
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN_WIDTH}x${E2E_SCREEN_HEIGHT}x24" -nolisten tcp -noreset \
    3>"$display_file" 2>"$E2E_SHOTS/xvfb.log" &
  E2E_PIDS+=($!)
  for ((waited = 0; waited < 100; ++waited)); do
    [[ -s $display_file ]] && break
    kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || e2e_fail "Xvfb did not start; see $E2E_SHOTS/xvfb.log"
    sleep 0.1
  done
  [[ -s $display_file ]] || e2e_fail "Xvfb did not start within 10 s"
  DISPLAY=":$(tr -dc '0-9' <"$display_file")"
  export DISPLAY
  for ((waited = 0; waited < 50; ++waited)); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  e2e_fail "Xvfb on $DISPLAY does not take clients"
}

# Serves the content pack on 127.0.0.1:80 with nginx, as the program expects. A server of
# this build that already runs is used as it is; anything else on port 80 skips the test.
e2e_serve_content() {
  local server="$E2E_SOURCE/scripts/content-server"
  [[ -f $E2E_PACK/$DRAVEL_SCHEME_FILE ]] || e2e_fail "no content pack in $E2E_PACK: build the project first"
  if "$server" status --port 80 --build "$E2E_BUILD" >/dev/null 2>&1; then
    echo "using the content server of this build that already runs on port 80"
    return
  fi
  e2e_port_closed 80 ||
    e2e_skip "port 80 on 127.0.0.1 is taken by another program, so the game's content server cannot listen there"
  if ((EUID != 0)) && ! sudo -n true 2>/dev/null; then
    e2e_skip "listening on port 80 needs root, and sudo asks for a password here"
  fi
  E2E_SERVER_STARTED=1
  "$server" start --port 80 --build "$E2E_BUILD" >"$E2E_SHOTS/content-server.log" 2>&1 || {
    cat "$E2E_SHOTS/content-server.log" >&2
    e2e_fail "the content server did not start on port 80"
  }
}

e2e_stop_content() {
  "$E2E_SOURCE/scripts/content-server" stop --port 80 --build "$E2E_BUILD" >/dev/null ||
    e2e_fail "the content server did not stop"
  E2E_SERVER_STARTED=0
  e2e_port_closed 80 || e2e_fail "port 80 still answers after the content server stopped"
}

# Stops the content server; in its place on port 80 a server takes connections and never
# answers. Its pid is in E2E_LISTENER.
e2e_silence_content() {
  e2e_stop_content
  /usr/bin/python3 "$E2E_SOURCE/tests/e2e/silent_listener.py" 80 &
  E2E_LISTENER=$!
  E2E_PIDS+=("$E2E_LISTENER")
  e2e_wait_listening "nothing listens on port 80 in place of the content server"
}

# Waits up to five seconds for a server to listen on port 80; fails with $1 if none does.
e2e_wait_listening() {
  local waited
  for ((waited = 0; waited < 50; ++waited)); do
    e2e_port_closed 80 || return 0
    sleep 0.1
  done
  e2e_fail "$1"
}

# Starts the program in the background; its output goes to the screenshots folder.
e2e_start_game() {
  "$E2E_GAME" >>"$E2E_SHOTS/game.log" 2>&1 &
  E2E_GAME_PID=$!
  E2E_PIDS+=("$E2E_GAME_PID")
}

# Starts the program and waits for its window, whose id goes to E2E_WINDOW, and for the
# start-up's requests: the first task's turn after "reading.jpg". Needs e2e_first_tasks.
e2e_start_game_checked() {
  local mark
  mark=$(e2e_log_mark)
  e2e_start_game
  E2E_WINDOW=$(e2e_wait_game_window)
  e2e_expect_requests "$mark" "start-up" reading.jpg "$(e2e_turn_requests "${E2E_CODES[1]}")"
}

# Prints the id of the first visible window whose name matches the regular expression.
e2e_wait_window() {
  local name=$1 seconds=${2:-20} id waited tries
  tries=$((seconds * 10 > 0 ? seconds * 10 : 1))
  for ((waited = 0; waited < tries; ++waited)); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits for the game window; fails at once when the no-data dialog comes instead.
e2e_wait_game_window() {
  local waited id
  for ((waited = 0; waited < 300; ++waited)); do
    id=$(xdotool search --onlyvisible --name '^Qovex Dravel$' 2>/dev/null | head -n 1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    if xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1; then
      e2e_fail "the program shows its no-data dialog: it got nothing from the content server"
    fi
    kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended before its window appeared"
    sleep 0.1
  done
  e2e_fail "the game window did not appear within 30 s"
}

# Waits for a process of this shell to end and puts its exit code in E2E_EXIT_CODE; fails
# after the time given. Not for $(...): only this shell can collect its own children.
e2e_wait_exit() {
  local pid=$1 seconds=${2:-10} waited
  for ((waited = 0; waited < seconds * 10; ++waited)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      E2E_EXIT_CODE=0
      wait "$pid" || E2E_EXIT_CODE=$?
      e2e_forget "$pid"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Gives the window the keyboard focus (there is no window manager) and types keys into it.
e2e_press() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" key --clearmodifiers "$@"
}

# Clicks at a point given in the window's own coordinates.
e2e_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# ---- The content server's access log: what the game asked for, in order. ----

e2e_log_mark() {
  if [[ -f $E2E_ACCESS_LOG ]]; then wc -l <"$E2E_ACCESS_LOG"; else echo 0; fi
}

# Prints "FILE STATUS" for every request after log line $1.
e2e_requests_since() {
  tail -n "+$(($1 + 1))" "$E2E_ACCESS_LOG" |
    sed -n "s|^[^\"]*\"GET /$E2E_FOLDER_PATH/\([^ ]*\) HTTP/1\.1\" \([0-9]*\) .*|\1 \2|p"
}

# Waits until the requests after log line $1 are exactly the files given, each answered 200.
# An argument may hold several file names, one a line.
e2e_expect_requests() {
  local mark=$1 what=$2 waited expected actual count
  shift 2
  expected=$(printf '%s\n' "$@" | sed '/^$/d; s/$/ 200/')
  count=$(grep -c '' <<<"$expected")
  for ((waited = 0; waited < 100; ++waited)); do
    actual=$(e2e_requests_since "$mark")
    (($(printf '%s' "$actual" | grep -c '') >= count)) && break
    kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended during $what"
    sleep 0.1
  done
  # Anything more would come at once: the requests follow one another without a pause.
  sleep 0.3
  actual=$(e2e_requests_since "$mark")
  if [[ $actual != "$expected" ]]; then
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /' >&2
    e2e_fail "$what: the requests (< expected, > made) differ"
  fi
}

# Fails when the game makes any request within the next $2 seconds.
e2e_expect_no_requests() {
  local mark=$1 seconds=$2 what=$3
  sleep "$seconds"
  [[ -z $(e2e_requests_since "$mark") ]] || e2e_fail "$what made requests: $(e2e_requests_since "$mark" | tr '\n' ' ')"
}

# ---- The task scheme and the tiles' pictures. ----

# The picture name of row $1, column $2 (both counted from 1) in the scheme file.
e2e_cell() {
  sed -n "$((7 * ($1 - 1) + $2))p" "$E2E_PACK/$DRAVEL_SCHEME_FILE" | tr -d '\r'
}

e2e_choice_names() {
  local k
  for k in 1 2 3 4 5 6 7; do e2e_cell "$k" "$k"; done
}

# The three task tiles' names for a six-digit code, left to right.
e2e_task_names() {
  local code=$1
  e2e_cell "${code:0:1}" "${code:1:1}"
  e2e_cell "${code:2:1}" "${code:3:1}"
  e2e_cell "${code:4:1}" "${code:5:1}"
}

# ---- Screenshots and their pixels. Positions are in the window's client area. ----

E2E_WINDOW_X=0
E2E_WINDOW_Y=0
e2e_locate_window() {
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  E2E_WINDOW_X=$X
  E2E_WINDOW_Y=$Y
  E2E_WINDOW_WIDTH=$WIDTH
  E2E_WINDOW_HEIGHT=$HEIGHT
}

# Saves the whole screen as $E2E_SHOTS/$1.png.
e2e_shot() {
  import -window root "$E2E_SHOTS/$1.png" || e2e_fail "no screenshot could be taken"
}

e2e_crop() {
  convert "$1" -crop "$4x$5+$((E2E_WINDOW_X + $2))+$((E2E_WINDOW_Y + $3))" +repage "$6"
}

# Root mean square difference, 0 to 1, between an area of a screenshot and a picture
# stretched to the area's size, as the game stretches it.
e2e_difference() {
  local shot=$1 x=$2 y=$3 w=$4 h=$5 picture=$6 expected actual
  expected="$E2E_SCRATCH/expected-${w}x$h-$(basename "$picture").png"
  actual="$E2E_SCRATCH/actual.png"
  [[ -f $expected ]] || convert "$picture" -resize "${w}x$h!" "$expected"
  e2e_crop "$shot" "$x" "$y" "$w" "$h" "$actual"
  compare -metric RMSE "$actual" "$expected" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p'
}

# A stretched picture differs from its source by a few hundredths; another picture by 0.15 or more.
E2E_SAME_PICTURE=0.08
e2e_shows() {
  local difference
  difference=$(e2e_difference "$@")
  [[ -n $difference ]] && awk -v d="$difference" -v limit="$E2E_SAME_PICTURE" 'BEGIN { exit !(d < limit) }'
}

# The colour of one pixel of the window, as ImageMagick writes it: srgb(R,G,B).
e2e_pixel() {
  convert "$1" -format "%[pixel:p{$((E2E_WINDOW_X + $2)),$((E2E_WINDOW_Y + $3))}]" info:
}

# True when an area of the screenshot is all one colour, given as srgb(R,G,B).
e2e_plain() {
  local shot=$1 x=$2 y=$3 w=$4 h=$5 colour=$6 flat="$E2E_SCRATCH/flat.png" difference
  convert -size "${w}x$h" "xc:$colour" "$flat"
  e2e_crop "$shot" "$x" "$y" "$w" "$h" "$E2E_SCRATCH/actual.png"
  difference=$(compare -metric RMSE "$E2E_SCRATCH/actual.png" "$flat" null: 2>&1 |
    sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p')
  [[ -n $difference ]] && awk -v d="$difference" 'BEGIN { exit !(d < 0.01) }'
}

# Takes screenshots until the check passes, for up to $2 seconds; the last one is kept as
# $E2E_SHOTS/$1.png and its path is in E2E_SHOT. The check gets the screenshot's path.
e2e_shot_until() {
  local name=$1 seconds=$2 waited
  shift 2
  E2E_SHOT="$E2E_SHOTS/$name.png"
  for ((waited = 0; waited < seconds * 5; ++waited)); do
    e2e_shot "$name"
    "$@" "$E2E_SHOT" && return 0
    sleep 0.2
  done
  return 1
}

# ---- The window's layout, in client coordinates, from the build's window-layout.env. ----

# e2e_rect NAME INDEX: left, top, width or height (index 0 to 3) of a named control.
e2e_rect() {
  local -n rect="DRAVEL_$1"
  echo "${rect[$2]}"
}
# e2e_centre NAME: the control's centre, "x y".
e2e_centre() {
  local -n rect="DRAVEL_$1"
  echo "$((rect[0] + rect[2] / 2)) $((rect[1] + rect[3] / 2))"
}
e2e_read_layout() {
  # shellcheck source=/dev/null
  source "$E2E_BUILD/window-layout.env" || e2e_fail "no window-layout.env in $E2E_BUILD"
  E2E_CLIENT_WIDTH=$DRAVEL_CLIENT_WIDTH
  E2E_CLIENT_HEIGHT=$DRAVEL_CLIENT_HEIGHT
  local name first=${DRAVEL_CHOICE_TILES[0]} second=${DRAVEL_CHOICE_TILES[1]}
  E2E_TASK_TILE_X=()
  for name in "${DRAVEL_TASK_TILES[@]}"; do E2E_TASK_TILE_X+=("$(e2e_rect "$name" 0)"); done
  E2E_TASK_TILE_Y=$(e2e_rect "${DRAVEL_TASK_TILES[0]}" 1)
  E2E_TASK_TILE_SIZE=$(e2e_rect "${DRAVEL_TASK_TILES[0]}" 2)
  E2E_CHOICE_Y=$(e2e_rect "$first" 1)
  E2E_CHOICE_SIZE=$(e2e_rect "$first" 2)
  # Image8, the big result picture, and Image11, the small one inside its area.
  local -n result="DRAVEL_${DRAVEL_RESULT_PICTURES[0]}" wrong="DRAVEL_${DRAVEL_RESULT_PICTURES[1]}"
  E2E_RESULT=("${result[@]}")
  E2E_WRONG=("${wrong[@]}")
  # Centres of the step switch and of "Start->Next".
  read -ra E2E_STEP_SWITCH <<<"$(e2e_centre SpeedButton1)"
  read -ra E2E_NEXT_BUTTON <<<"$(e2e_centre Button1)"
  # A point of plain window background, between the first two choice tiles.
  E2E_BACKGROUND=($((($(e2e_rect "$first" 0) + E2E_CHOICE_SIZE + $(e2e_rect "$second" 0)) / 2))
    $((E2E_CHOICE_Y + E2E_CHOICE_SIZE / 2)))
}
# The left edge of choice tile 1 to 7.
e2e_choice_x() { e2e_rect "${DRAVEL_CHOICE_TILES[$1 - 1]}" 0; }

E2E_MISMATCH=""
e2e_mismatch() {
  E2E_MISMATCH=$1
  return 1
}

# Checks that the task tiles show the task of the code and the choice tiles the diagonal.
e2e_task_shown() {
  local code=$1 shot=$2 names i k
  mapfile -t names < <(e2e_task_names "$code")
  for i in 0 1 2; do
    e2e_shows "$shot" "${E2E_TASK_TILE_X[i]}" "$E2E_TASK_TILE_Y" "$E2E_TASK_TILE_SIZE" \
      "$E2E_TASK_TILE_SIZE" "$E2E_PACK/${names[i]}" ||
      e2e_mismatch "task tile $((i + 1)) does not show ${names[i]} (task $code)" || return 1
  done
  mapfile -t names < <(e2e_choice_names)
  for k in 1 2 3 4 5 6 7; do
    e2e_shows "$shot" "$(e2e_choice_x "$k")" "$E2E_CHOICE_Y" "$E2E_CHOICE_SIZE" \
      "$E2E_CHOICE_SIZE" "$E2E_PACK/${names[k - 1]}" ||
      e2e_mismatch "choice tile $k does not show ${names[k - 1]}" || return 1
  done
}

# Checks that the big result picture shows the file given.
e2e_result_shows() {
  local file=$1 shot=$2
  e2e_shows "$shot" "${E2E_RESULT[@]}" "$E2E_PACK/$file" ||
    e2e_mismatch "the result area does not show $file"
}

# Checks the wrong verdict: no.jpg small in its place, and the big picture gone, so that
# the rest of the result area is plain background.
e2e_wrong_shown() {
  local shot=$1 background above_height
  e2e_shows "$shot" "${E2E_WRONG[@]}" "$E2E_PACK/no.jpg" ||
    e2e_mismatch "the small result picture does not show no.jpg" || return 1
  background=$(e2e_pixel "$shot" "${E2E_BACKGROUND[@]}")
  above_height=$((E2E_WRONG[1] - E2E_RESULT[1]))
  e2e_plain "$shot" "${E2E_RESULT[0]}" "${E2E_RESULT[1]}" "${E2E_RESULT[2]}" "$above_height" \
    "$background" || e2e_mismatch "the big result picture is still on show after a wrong pick"
}

# Waits up to 10 s for a screenshot that passes the check; fails with what was wrong.
e2e_expect_screen() {
  local name=$1 what=$2
  shift 2
  e2e_shot_until "$name" 10 "$@" || e2e_fail "$what: $E2E_MISMATCH"
  echo "ok: $what (screenshot $E2E_SHOT)"
}

e2e_click_choice() {
  e2e_click "$1" $(($(e2e_choice_x "$2") + E2E_CHOICE_SIZE / 2)) $((E2E_CHOICE_Y + E2E_CHOICE_SIZE / 2))
}

# The right tile of the task at play position $1 (1 = the first task), and its code.
e2e_answer() {
  local line
  line=$("$E2E_ANSWERS" "$1" | tail -n 1) || e2e_fail "dravel-answers failed"
  read -r _ E2E_CODE E2E_RIGHT_TILE <<<"$line"
  [[ $E2E_CODE =~ ^[1-7]{6}$ && $E2E_RIGHT_TILE =~ ^[1-7]$ ]] ||
    e2e_fail "dravel-answers gave '$line'"
}

# The codes and right tiles of the first $1 tasks, in E2E_CODES[1..$1] and E2E_RIGHTS[1..$1].
e2e_first_tasks() {
  local position
  E2E_CODES=() E2E_RIGHTS=()
  for ((position = 1; position <= $1; ++position)); do
    e2e_answer "$position"
    E2E_CODES[position]=$E2E_CODE E2E_RIGHTS[position]=$E2E_RIGHT_TILE
  done
}

# The requests of one turn in automatic stepping, for the code given.
e2e_turn_requests() {
  echo shemoftask.txt
  e2e_choice_names
  e2e_task_names "$1"
}
