// The statistics and the figure lines that every driver reports, and the drivers' command line.
#include "bench/figures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/run_options.h"

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start, line.find('\n', start) - start));
  return fields;
}

TEST(Figures, MediansOfOddAndEvenCountsInAnyOrder) {
  EXPECT_EQ(bench::MedianOf({5, 1, 3}), 3);
  EXPECT_EQ(bench::MedianOf({4, 1, 3, 2}), 2.5);
  EXPECT_EQ(bench::MedianOf({7}), 7);
  const bench::Spread spread = bench::SpreadOf({9, 2, 4, 8, 1});
  EXPECT_EQ(spread.median, 4);
  EXPECT_EQ(spread.min, 1);
  EXPECT_EQ(spread.max, 9);
  EXPECT_THROW(bench::MedianOf({}), std::invalid_argument);
  EXPECT_THROW(bench::SpreadOf({}), std::invalid_argument);
}

TEST(Figures, PercentileIsTheNearestRank) {
  std::vector<double> turns;
  for (int i = 500; i >= 1; --i) turns.push_back(i);  // 1 to 500, backwards
  EXPECT_EQ(bench::PercentileOf(turns, 0.99), 495);
  EXPECT_EQ(bench::PercentileOf(turns, 0.5), 250);
  EXPECT_EQ(bench::PercentileOf(turns, 1.0), 500);
  EXPECT_EQ(bench::PercentileOf(turns, 0.0), 1);
  EXPECT_EQ(bench::PercentileOf({3}, 0.99), 3);
  EXPECT_THROW(bench::PercentileOf({}, 0.5), std::invalid_argument);
}

TEST(Figures, OneLineOfTwelveFieldsWhatEverTheNames) {
  testing::internal::CaptureStdout();
  bench::PrintFigure({"Turn\twith a tab",
                      "ms",
                      {1.5, 1, 2},
                      "curl\nnext line",
                      bench::Spread{1, 1, 1},
                      "ratio<=1.3",
                      1.4});
  bench::PrintFigure({"Alone", "MiB", {3, 3, 3}, "", std::nullopt, ""});
  const std::string out = testing::internal::GetCapturedStdout();
  const std::size_t first_end = out.find('\n');
  ASSERT_NE(first_end, std::string::npos);
  EXPECT_EQ(out.find('\n', first_end + 1), out.size() - 1) << "two lines in all";
  EXPECT_EQ(Fields(out.substr(0, first_end)),
            (std::vector<std::string>{"figure", "Turn with a tab", "ms", "1.5", "1", "2",
                                      "curl next line", "1", "1", "1", "ratio<=1.3", "1.4"}));
  EXPECT_EQ(
      Fields(out.substr(first_end + 1)),
      (std::vector<std::string>{"figure", "Alone", "MiB", "3", "3", "3", "", "-", "-", "-", "-"}));
}

bool Parse(std::vector<const char*> args, bench::RunOptions& options) {
  args.insert(args.begin(), "driver");
  return bench::ParseRunOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()),
                                {9, 60}, options);
}

TEST(RunOptions, TakesABaseAndCountsOrTheirDefaults) {
  bench::RunOptions options;
  ASSERT_TRUE(Parse({"http://127.0.0.1:8/f/"}, options));
  EXPECT_EQ(options.base_url, "http://127.0.0.1:8/f/");
  EXPECT_EQ(options.counts, (std::vector<int>{9, 60}));
  ASSERT_TRUE(Parse({"http://h/f/", "3"}, options));
  EXPECT_EQ(options.counts, (std::vector<int>{3, 60}));
  ASSERT_TRUE(Parse({"http://h/f/", "1", "1000000"}, options));
  EXPECT_EQ(options.counts, (std::vector<int>{1, 1'000'000}));
}

TEST(RunOptions, RefusesWhatWouldRunNothingOrForEver) {
  bench::RunOptions options;
  EXPECT_FALSE(Parse({}, options));
  EXPECT_FALSE(Parse({"127.0.0.1/f/"}, options)) << "not an address";
  EXPECT_FALSE(Parse({"http://h/f"}, options)) << "not a folder";
  for (const char* count : {"0", "-1", "1000001", "12x", "", "99999999999"}) {
    EXPECT_FALSE(Parse({"http://h/f/", count}, options)) << count;
  }
  EXPECT_FALSE(Parse({"http://h/f/", "1", "2", "3"}, options)) << "one count too many";
}

// The thread's CPU time: busy work counts, sleeping does not.
TEST(ThreadCpuTime, CountsWorkNotSleep) {
  const double start = bench::ThreadCpuMilliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const double slept = bench::ThreadCpuMilliseconds() - start;
  volatile double sum = 0;
  for (int i = 0; i < 20'000'000; ++i) sum = sum + i;
  const double worked = bench::ThreadCpuMilliseconds() - start - slept;
  EXPECT_LT(slept, 25.0);
  EXPECT_GT(worked, 1.0);
}

}  // namespace
