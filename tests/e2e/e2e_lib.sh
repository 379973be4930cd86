# Helpers for end-to-end runs of the real program under Xvfb. Every wait is bounded.
# Source it; a test that cannot run here exits with 77, which CTest reports as skipped.

e2e_skip() {
  echo "SKIPPED: $*"
  exit 77
}

e2e_fail() {
  echo "FAILED: $*" >&2
  exit 1
}

e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed"
  done
}

# True when nothing accepts connections on 127.0.0.1:$1.
e2e_port_closed() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

E2E_PIDS=()
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$XDG_RUNTIME_DIR"
}
trap e2e_cleanup EXIT

# Starts Xvfb on a free display of the given size and exports DISPLAY.
e2e_start_xvfb() {
  local size=${1:-1280x800} display
  for display in $(seq 90 140); do
    [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] && continue
    Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=":$display"
    local waited
    for waited in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    e2e_fail "Xvfb did not start on :$display"
  done
  e2e_fail "no free X display"
}

# Prints the id of the first visible window whose name matches the regular expression.
e2e_wait_window() {
  local name=$1 seconds=${2:-20} id waited tries
  tries=$((seconds * 10 > 0 ? seconds * 10 : 1))
  for waited in $(seq "$tries"); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits for a process to end and prints its exit code; fails after the time given.
e2e_wait_exit() {
  local pid=$1 seconds=${2:-10} waited
  for waited in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      local rc=0
      wait "$pid" || rc=$?
      echo "$rc"
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
