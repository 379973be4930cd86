#!/usr/bin/env bash
# The table of scripts/bench: goals judged on the right ratio, bounds and growths.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
expect() {  # expect DESCRIPTION PATTERN FILE
  if ! grep -qE -- "$2" "$3"; then
    echo "FAILED: $1: no line matching '$2' in:" >&2
    cat "$3" >&2
    failed=1
  fi
}

{
  printf 'figure\tMet by ratio\tms\t1.2\t1\t2\tbase\t1\t1\t1\tratio<=1.3\n'
  printf 'figure\tMissed by ratio\tms\t1.4\t1\t2\tbase\t1\t1\t1\tratio<=1.3\n'
  # the per-run ratio stands, not the ratio of the medians (1.4)
  printf 'figure\tMet by per-run ratio\tms\t1.4\t1\t2\tbase\t1\t1\t1\tratio<=1.3\t1.25\n'
  printf 'figure\tGrown too much\tMiB\t60\t60\t60\tstart\t40\t40\t40\tgrowth<16\n'
  printf 'figure\tGrown little\tMiB\t50\t50\t50\tstart\t40\t40\t40\tgrowth<16\n'
  printf 'figure\tNo baseline\tturns/s\t200\t200\t200\t\t-\t-\t-\t-\n'
  printf 'figure\tAlone, under its bound\tms\t56\t56\t56\t\t-\t-\t-\tmax<100\n'
  printf 'note\tsomething to know\n'
} >"$scratch/figures"
awk -f "$here/bench_table.awk" "$scratch/figures" >"$scratch/table"
expect "a met ratio goal" '^Met by ratio .* 1\.20 +<= 1\.3x +yes$' "$scratch/table"
expect "a missed ratio goal" '^Missed by ratio .* 1\.40 +<= 1\.3x +NO$' "$scratch/table"
expect "the per-run ratio" '^Met by per-run ratio .* 1\.25 +<= 1\.3x +yes$' "$scratch/table"
expect "a missed growth goal" '^Grown too much .* \+20\.0 +\+< 16 MiB +NO$' "$scratch/table"
expect "a met growth goal" '^Grown little .* \+10\.0 +\+< 16 MiB +yes$' "$scratch/table"
expect "a figure alone" '^No baseline +turns/s +200 +- ' "$scratch/table"
expect "the notes" '^\* something to know$' "$scratch/table"
expect "a bound of its own" '^Alone, under its bound .* < 100 ms +yes$' "$scratch/table"
expect "the count" '^7 figures, 2 goals missed' "$scratch/table"

exit "$failed"
