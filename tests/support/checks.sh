# Named checks for shell tests: each prints ok or FAILED, and `failures` counts the failures.
failures=0

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
