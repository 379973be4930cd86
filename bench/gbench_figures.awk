# Turns the CSV of a Google Benchmark run with repetitions into figure lines: median, min and
# max over the repetitions. A benchmark with the counters "ours_us" and "theirs_us" gives a
# figure beside its baseline, and the median of its "ratio" counter; any other its real time. Aggregate rows (_mean, _median, ...) are
# left out: the spread is computed here.
#
#   awk -v figures='BENCHMARK|figure|baseline|goal;...' -f bench/gbench_figures.awk CSV
#
# Benchmarks not named in `figures` are skipped.

function unquote(text) {
  gsub(/^"|"$/, "", text)
  return text
}

function in_ms(value, unit) {
  if (unit == "ns") return value / 1e6
  if (unit == "us") return value / 1e3
  if (unit == "s") return value * 1e3
  return value
}

# "median<TAB>min<TAB>max" of the space-separated numbers in `list`
function spread(list,    n, v, i, j, x, median) {
  n = split(list, v, " ")
  for (i = 2; i <= n; ++i) {
    x = v[i]
    for (j = i - 1; j >= 1 && v[j] > x; --j) v[j + 1] = v[j]
    v[j + 1] = x
  }
  median = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  return sprintf("%.6g\t%.6g\t%.6g", median, v[1], v[n])
}

BEGIN {
  FS = ","
  count = split(figures, entries, ";")
  for (i = 1; i <= count; ++i) {
    split(entries[i], parts, "|")
    wanted[parts[1]] = i
    figure_name[i] = parts[2]
    baseline_name[i] = parts[3]
    goal[i] = parts[4] == "" ? "-" : parts[4]
  }
}

$1 == "name" {
  for (i = 1; i <= NF; ++i) column[unquote($i)] = i
  next
}

("real_time" in column) && NF >= column["real_time"] {
  name = unquote($1)
  if (!(name in wanted)) next
  i = wanted[name]
  if (("ours_us" in column) && $column["ours_us"] != "") {
    ours[i] = ours[i] " " $column["ours_us"] / 1e3
    theirs[i] = theirs[i] " " $column["theirs_us"] / 1e3
    if ("ratio" in column) ratios[i] = ratios[i] " " $column["ratio"]
  } else {
    ours[i] = ours[i] " " in_ms($column["real_time"], $column["time_unit"])
  }
}

END {
  for (i = 1; i <= count; ++i) {
    if (ours[i] == "") continue
    base = theirs[i] == "" ? "-\t-\t-" : spread(theirs[i])
    ratio = ""
    if (ratios[i] != "") {
      split(spread(ratios[i]), parts, "\t")
      ratio = "\t" parts[1]
    }
    printf "figure\t%s\tms\t%s\t%s\t%s\t%s%s\n", figure_name[i], spread(ours[i]),
      theirs[i] == "" ? "" : baseline_name[i], base, goal[i], ratio
  }
}
