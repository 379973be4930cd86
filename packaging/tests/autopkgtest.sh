#!/usr/bin/env bash
# The packages' own tests (debian/tests), run by autopkgtest as Debian's CI runs them: on a
# fresh Debian 12 root booted with systemd (fresh_root.sh), where the content package's server
# starts at install time. autopkgtest runs inside the root with its null backend, the booted
# root being the test machine: it installs the .debs and each test's dependencies (offline,
# from the base root's downloads), then runs every test. It is given debian/tests alone, so no
# test can read the rest of the source tree. Prints autopkgtest's summary, one line a test; any test
# that does not pass, skipped ones too, fails.
# Needs root, systemd-nspawn and mmdebstrap. autopkgtest's log is kept in DEB_DIR.
# Usage: autopkgtest.sh SOURCE_DIR DEB_DIR
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=fresh_root.sh
source "$here/fresh_root.sh"
source_dir=$1 debs=$2
((EUID == 0)) || { echo "autopkgtest: the test root needs root" >&2; exit 1; }

tarball=$(root_base_tarball "$debs" "$source_dir")
work=$(mktemp -d /var/tmp/dravel-autopkgtest.XXXXXX)
root_make dravel-autopkgtest "$work/root" "$tarball"
trap 'root_poweroff; rm -rf "$work"' EXIT
root_local_repository
mkdir -p "$ROOT_DIR/debs" "$ROOT_DIR/src/qovex-dravel/debian"
cp "$debs"/*.deb "$ROOT_DIR/debs/"
cp -r "$source_dir/debian/tests" "$ROOT_DIR/src/qovex-dravel/debian/"
mapfile -t packages < <(cd "$ROOT_DIR" && ls -1 debs/*.deb | sed 's|^|/|')
root_boot

log="$debs/autopkgtest.log"
results=/var/tmp/autopkgtest
apt() { in_root env DEBIAN_FRONTEND=noninteractive apt-get -q -y "$@" >>"$log" 2>&1; }
: >"$log"
apt update && apt install --no-install-recommends autopkgtest ||
  { tail -n 30 "$log"; echo "autopkgtest: autopkgtest did not install in the root" >&2; exit 1; }
status=0
in_root autopkgtest --summary-file="$results/summary" --output-dir="$results/out" \
  "${packages[@]}" /src/qovex-dravel/ -- null >>"$log" 2>&1 || status=$?

summary="$ROOT_DIR$results/summary"
echo "autopkgtest summary:"
sed 's/^/  /' "$summary" 2>/dev/null || echo "  (none: autopkgtest ended with status $status)"
tests=$(awk '/^Tests:/ { print $2 }' "$source_dir/debian/tests/control" | sort)
passed=$(awk '$2 == "PASS" { print $1 }' "$summary" 2>/dev/null | sort)
if ((status != 0)) || [[ $passed != "$tests" ]]; then
  # Each test's own output, then autopkgtest's account of the run.
  for output in "$ROOT_DIR$results"/out/*-stdout "$ROOT_DIR$results"/out/*-stderr; do
    [[ -s $output ]] && { echo "--- $(basename "$output")"; tail -n 40 "$output"; }
  done
  echo "--- autopkgtest's log ($log)"
  tail -n 40 "$log"
  echo "autopkgtest: not every test passed (autopkgtest's status $status; passed: $(paste -sd' ' <<<"$passed"))" >&2
  exit 1
fi
echo "autopkgtest: every test passed"
