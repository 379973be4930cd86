# The table of scripts/bench-load: one row per number of players and path (straight at the
# content server, or through the caching proxy), medians over the rounds.
# Input lines (tab-separated): players, path, connections held, requests that reached the
# content server, then the replay line of replay_clicks.lua: requests, requests/s, p50 ms,
# p99 ms, connect, read, write and timeout errors, answers outside 2xx.
# Variables: workers, threads, cores, rounds, seconds (of each run).

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
  key = $1 SUBSEP $2
  if (!(key in runs)) {
    order[++rows] = key
    players[key] = $1
    path[key] = $2
  }
  k = ++runs[key]
  held[key, k] = $3
  origin_rate[key, k] = $4 / seconds
  share[key, k] = $5 > 0 ? $4 / $5 : 0
  rate[key, k] = $6; p50[key, k] = $7; p99[key, k] = $8
  for (e = 9; e <= 12; ++e) errors[key, e] += $e
  status[key] += $13
}

END {
  format = "%-8s %-7s %-6s %-22s %-13s %-14s %-9s %-9s %-30s %s\n"
  printf format, "Players", "Path", "Held", "Requests/s (min-max)", "Origin req/s", "Origin/client",
    "p50 ms", "p99 ms", "Socket errors (conn/read/write/timeout)", "Non-2xx"
  for (r = 1; r <= rows; ++r) {
    key = order[r]
    low = ""; high = ""
    for (k = 1; k <= runs[key]; ++k) {
      list_held[k] = held[key, k]; list_rate[k] = rate[key, k]
      list_origin[k] = origin_rate[key, k]; list_share[k] = share[key, k]
      list_p50[k] = p50[key, k]; list_p99[k] = p99[key, k]
      if (low == "" || rate[key, k] + 0 < low) low = rate[key, k] + 0
      if (high == "" || rate[key, k] + 0 > high) high = rate[key, k] + 0
    }
    median_rate[key] = median(list_rate, runs[key])
    median_share[key] = median(list_share, runs[key])
    total = errors[key, 9] + errors[key, 10] + errors[key, 11] + errors[key, 12]
    printf format, players[key], path[key], median(list_held, runs[key]),
      sprintf("%.0f (%.0f-%.0f)", median_rate[key], low, high),
      sprintf("%.1f", median(list_origin, runs[key])), sprintf("%.5f", median_share[key]),
      sprintf("%.2f", median(list_p50, runs[key])), sprintf("%.2f", median(list_p99, runs[key])),
      total " (" errors[key, 9] "/" errors[key, 10] "/" errors[key, 11] "/" errors[key, 12] ")",
      status[key]
  }
  # Throughput straight at the content server, the most players against the fewest.
  first = ""; last = ""
  for (r = 1; r <= rows; ++r) {
    if (path[order[r]] != "direct") continue
    if (first == "") first = order[r]
    last = order[r]
  }
  if (first != last && median_rate[first] > 0) {
    ratio = median_rate[last] / median_rate[first]
    printf "\nThroughput at %s players vs %s: %.2f (goal >= 0.90: %s)\n", players[last],
      players[first], ratio, (ratio >= 0.9 ? "met" : "NOT met")
  }
  for (r = 1; r <= rows; ++r) {
    key = order[r]
    if (path[key] != "cache") continue
    printf "Through the cache at %s players, the content server saw %.5f of the requests" \
      " (goal < 0.01: %s)\n", players[key], median_share[key],
      (median_share[key] < 0.01 ? "met" : "NOT met")
  }
  printf "(nginx: %s workers for each server; wrk: %s threads; %s cores; medians over %s rounds)\n",
    workers, threads, cores, rounds
}
