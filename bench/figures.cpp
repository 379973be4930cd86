#include "bench/figures.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace bench {
namespace {

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// Tabs and line breaks would split the line that scripts/bench reads.
std::string Field(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
  return text;
}

}  // namespace

double MedianOf(std::vector<double> samples) {
  if (samples.empty()) throw std::invalid_argument("no samples");
  const std::size_t middle = samples.size() / 2;
  std::nth_element(samples.begin(), samples.begin() + middle, samples.end());
  const double upper = samples[middle];
  if (samples.size() % 2 == 1) return upper;
  const double lower = *std::max_element(samples.begin(), samples.begin() + middle);
  return (lower + upper) / 2;
}

double MedianRatio(const std::vector<double>& ours, const std::vector<double>& baseline) {
  if (ours.size() != baseline.size()) throw std::invalid_argument("unpaired samples");
  std::vector<double> ratios;
  for (std::size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i] / baseline[i]);
  return MedianOf(std::move(ratios));
}

Spread SpreadOf(std::vector<double> samples) {
  const double median = MedianOf(samples);
  const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
  return {median, *low, *high};
}

void PrintFigure(const Figure& figure) {
  std::string line = "figure\t" + Field(figure.name) + "\t" + Field(figure.unit) + "\t" +
                     Number(figure.ours.median) + "\t" + Number(figure.ours.min) + "\t" +
                     Number(figure.ours.max) + "\t" + Field(figure.baseline_name);
  if (figure.baseline) {
    line += "\t" + Number(figure.baseline->median) + "\t" + Number(figure.baseline->min) + "\t" +
            Number(figure.baseline->max);
  } else {
    line += "\t-\t-\t-";
  }
  line += "\t" + (figure.goal.empty() ? std::string("-") : Field(figure.goal));
  if (figure.ratio) line += "\t" + Number(*figure.ratio);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void PrintNote(const std::string& text) {
  std::printf("note\t%s\n", Field(text).c_str());
  std::fflush(stdout);
}

double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace bench
