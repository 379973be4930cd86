# The table of scripts/bench-load: one row per number of players, medians over the rounds.
# Input lines (tab-separated): players, connections held, then the replay line of
# replay_clicks.lua: requests, requests/s, p50 ms, p99 ms, connect, read, write and timeout
# errors, answers outside 2xx.

function median(list, count,   sorted, i, j, t) {
  for (i = 1; i <= count; ++i) sorted[i] = list[i]
  for (i = 2; i <= count; ++i) {
    for (j = i; j > 1 && sorted[j - 1] + 0 > sorted[j] + 0; --j) {
      t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
    }
  }
  return count % 2 ? sorted[(count + 1) / 2] : (sorted[count / 2] + sorted[count / 2 + 1]) / 2
}

{
  n = $1
  if (!(n in runs)) order[++levels] = n
  k = ++runs[n]
  held[n, k] = $2; rate[n, k] = $4; p50[n, k] = $5; p99[n, k] = $6
  for (e = 7; e <= 10; ++e) errors[n, e] += $e
  status[n] += $11
}

END {
  format = "%-8s %-6s %-22s %-9s %-9s %-30s %s\n"
  printf format, "Players", "Held", "Requests/s (min-max)", "p50 ms", "p99 ms",
    "Socket errors (conn/read/write/timeout)", "Non-2xx"
  for (l = 1; l <= levels; ++l) {
    n = order[l]
    low = ""; high = ""
    for (k = 1; k <= runs[n]; ++k) {
      list_held[k] = held[n, k]; list_rate[k] = rate[n, k]
      list_p50[k] = p50[n, k]; list_p99[k] = p99[n, k]
      if (low == "" || rate[n, k] + 0 < low) low = rate[n, k] + 0
      if (high == "" || rate[n, k] + 0 > high) high = rate[n, k] + 0
    }
    median_rate[l] = median(list_rate, runs[n])
    total = errors[n, 7] + errors[n, 8] + errors[n, 9] + errors[n, 10]
    printf format, n, median(list_held, runs[n]),
      sprintf("%.0f (%.0f-%.0f)", median_rate[l], low, high),
      sprintf("%.2f", median(list_p50, runs[n])), sprintf("%.2f", median(list_p99, runs[n])),
      total " (" errors[n, 7] "/" errors[n, 8] "/" errors[n, 9] "/" errors[n, 10] ")", status[n]
  }
  if (levels >= 2 && median_rate[1] > 0) {
    ratio = median_rate[levels] / median_rate[1]
    printf "\nThroughput at %s players vs %s: %.2f (goal >= 0.90: %s)\n", order[levels], order[1],
      ratio, (ratio >= 0.9 ? "met" : "NOT met")
  }
  printf "(nginx: %s workers; wrk: %s threads; %s cores; medians over %s rounds)\n", workers,
    threads, cores, rounds
}
