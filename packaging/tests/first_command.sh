#!/usr/bin/env bash
# scripts/play run by an ordinary user on a machine without sudo, as a newcomer may: it says at
# once, in one line, that port 80 needs root and how to run it so, and stops before it installs
# or builds anything. Run as the user nobody; sudo, where this machine has it, is hidden.
# Usage: first_command.sh SOURCE_DIR      (needs root; skipped without it)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
source_dir=$(cd "$1" && pwd -P)
((EUID == 0)) || { echo "SKIPPED: needs root to run as another user"; exit 77; }

# A mount namespace of its own, where sudo is an empty file that cannot run.
if [[ -z ${FIRST_COMMAND_INSIDE:-} ]]; then
  exec env FIRST_COMMAND_INSIDE=1 unshare -m bash "${BASH_SOURCE[0]}" "$@"
fi
sudo_path=$(command -v sudo || true)
[[ -n $sudo_path ]] && mount --bind /dev/null "$sudo_path"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 777 "$scratch"
build="$scratch/build"
start=$SECONDS
status=0
setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env \
  env -u DISPLAY "$source_dir/scripts/play" --build "$build" >"$scratch/out" 2>"$scratch/err" ||
  status=$?
took=$((SECONDS - start))
said=$(cat "$scratch/err")

check "it fails (status $status)" test "$status" = 1
check "within seconds ($took s)" test "$took" -le 5
check "with one line on standard error: $said" test "$(grep -c '' "$scratch/err")" = 1
check "... saying that port 80 needs root and sudo is not installed" \
  grep -qF "port 80 needs root, and sudo is not installed" "$scratch/err"
check "... and giving the command that runs it as root" \
  grep -qF "su -c '$source_dir/scripts/play'" "$scratch/err"
check "nothing else is said" test ! -s "$scratch/out"
check "nothing is built" test ! -e "$build"
finish
