# Prints the figure lines of the benchmark drivers as one table, each figure beside its
# baseline, with the ratio and whether its goal is met; then the notes.
#
#   awk -f bench/bench_table.awk FIGURES...
#
# A figure line: figure, name, unit, median, min, max, baseline name, baseline median, min,
# max, goal ("ratio<=X": ours / baseline; "growth<X": ours - baseline, at the medians; "max<X":
# ours alone; "-") and,
# when each run measured both, the median of the per-run ratios, which then stands as the ratio.

function number(value) {
  if (value == "-") return "-"
  if (value + 0 >= 100) return sprintf("%.0f", value)
  if (value + 0 >= 10) return sprintf("%.1f", value)
  return sprintf("%.3g", value)
}

function cell(median, low, high) {
  if (median == "-") return "-"
  if (low == median && high == median) return number(median)
  return number(median) " (" number(low) "-" number(high) ")"
}

BEGIN {
  FS = "\t"
  format = "%-56s %-7s %-22s %-40s %-22s %-8s %-10s %s\n"
  printf format, "Figure", "Unit", "Median (min-max)", "Baseline", "Median (min-max)", "Ratio",
    "Goal", "Met"
}

$1 == "note" {
  notes[++note_count] = $2
  next
}

$1 != "figure" { next }

{
  name = $2; unit = $3; median = $4; low = $5; high = $6
  baseline = $7 == "" ? "-" : $7
  base_median = $8; base_low = $9; base_high = $10; goal = $11
  ratio_value = ""
  if (base_median != "-" && base_median + 0 > 0) ratio_value = median / base_median
  if (NF >= 12 && $12 != "") ratio_value = $12
  ratio = ratio_value == "" ? "-" : sprintf("%.2f", ratio_value)
  shown_goal = "-"
  met = "-"
  if (goal ~ /^ratio<=/) {
    limit = substr(goal, 8)
    shown_goal = "<= " limit "x"
    met = (ratio_value != "" && ratio_value + 0 <= limit + 0) ? "yes" : "NO"
  } else if (goal ~ /^max</) {
    limit = substr(goal, 5)
    shown_goal = "< " limit " " unit
    met = median + 0 < limit + 0 ? "yes" : "NO"
  } else if (goal ~ /^growth</) {
    limit = substr(goal, 8)
    growth = median - base_median
    ratio = sprintf("+%.1f", growth)
    shown_goal = "+< " limit " " unit
    met = growth < limit + 0 ? "yes" : "NO"
  }
  ++figures
  if (met == "NO") ++missed
  printf format, name, unit, cell(median, low, high), baseline,
    cell(base_median, base_low, base_high), ratio, shown_goal, met
}

END {
  if (note_count) print ""
  for (i = 1; i <= note_count; ++i) print "* " notes[i]
  printf "\n%d figures, %d goals missed. Ratio: ours / baseline, the median of the per-run ratios\n", figures, missed
  print "where each run measured both; min and max are over the runs (soak: over its 200 turns)."
}
