#pragma once

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
double MedianOf(std::vector<double> samples);
// Nearest rank: the smallest sample that at least `fraction` of the samples do not exceed.
double PercentileOf(std::vector<double> samples, double fraction);

struct Figure {
  std::string name;
  std::string unit;
  Spread ours;
  std::string baseline_name;  // empty when the figure stands alone
  std::optional<Spread> baseline;
  // "ratio<=X" (ours / baseline) or "growth<X" (ours - baseline, medians); empty when none.
  std::string goal;
  // The median of the per-run ratios ours / baseline, when each run measured both: steadier
  // than the ratio of the medians while the machine's load drifts.
  std::optional<double> ratio = std::nullopt;
};

// The CPU time this thread has used: what a figure's own work costs, whatever else the machine
// runs meanwhile.
double ThreadCpuMilliseconds();

// One tab-separated line starting with "figure".
void PrintFigure(const Figure& figure);
// A line of context for the table's footnotes.
void PrintNote(const std::string& text);

}  // namespace bench
