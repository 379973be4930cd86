#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// What every benchmark driver reports: figures with their spread over repeated runs, each
// beside the baseline measured in the same run, in lines that scripts/bench gathers into one
// table.
namespace bench {

struct Spread {
  double median = 0;
  double min = 0;
  double max = 0;
};

// Throws std::invalid_argument on no samples.
Spread SpreadOf(std::vector<double> samples);
inline Spread Single(double value) { return {value, value, value}; }
double MedianOf(std::vector<double> samples);
// The median of ours[i] / baseline[i]: steadier than the ratio of the medians while the
// machine's load drifts. Throws std::invalid_argument unless both have as many samples.
double MedianRatio(const std::vector<double>& ours, const std::vector<double>& baseline);

struct Figure {
  std::string name;
  std::string unit;
  Spread ours;
  std::string baseline_name;  // empty when the figure stands alone
  std::optional<Spread> baseline;
  // "ratio<=X" (ours / baseline) or "growth<X" (ours - baseline, medians); empty when none.
  std::string goal;
  // The median of the per-run ratios ours / baseline, when each run measured both.
  std::optional<double> ratio = std::nullopt;
};

// The CPU time this thread has used: what a figure's own work costs, whatever else the machine
// runs meanwhile.
double ThreadCpuMilliseconds();

template <typename Work>
double WallMillisecondsOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

template <typename Work>
double CpuMillisecondsOf(Work&& work) {
  const double start = ThreadCpuMilliseconds();
  work();
  return ThreadCpuMilliseconds() - start;
}

// One tab-separated line starting with "figure".
void PrintFigure(const Figure& figure);
// A line of context for the table's footnotes.
void PrintNote(const std::string& text);

}  // namespace bench
