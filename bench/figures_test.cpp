// The statistics and the figure lines that every measure reports, and the measures' command
// line.
#include "bench/figures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/driver.h"

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

TEST(Options, TakesAddressesCountsOrTheirFallbacks) {
  const bench::Options options({"http://127.0.0.1:8/f/", "3", "1000000"}, 4);
  EXPECT_EQ(options.Url(0), "http://127.0.0.1:8/f/");
  EXPECT_EQ(options.Count(1, 9), 3);
  EXPECT_EQ(options.Count(2, 9), 1'000'000);
  EXPECT_EQ(options.Count(3, 9), 9) << "not given";
  EXPECT_FALSE(options.Has(3));
  EXPECT_EQ(options.Word(1), "3");
}

TEST(Options, RefusesWhatWouldRunNothingOrForEver) {
  EXPECT_THROW(bench::Options({"a", "b", "c"}, 2), bench::UsageError) << "one word too many";
  EXPECT_THROW(bench::Options({}, 1).Url(0), bench::UsageError) << "missing";
  EXPECT_THROW(bench::Options({}, 1).Word(0), bench::UsageError);
  EXPECT_THROW(bench::Options({"127.0.0.1/f/"}, 1).Url(0), bench::UsageError) << "no address";
  EXPECT_THROW(bench::Options({"http://h/f"}, 1).Url(0), bench::UsageError) << "no folder";
  for (const char* count : {"0", "-1", "1000001", "12x", "", "99999999999"}) {
    EXPECT_THROW(bench::Options({count}, 1).Count(0, 5), bench::UsageError) << count;
  }
}

TEST(Figures, MedianRatioPairsTheRuns) {
  EXPECT_EQ(bench::MedianRatio({2, 9, 3}, {1, 3, 3}), 2);  // ratios 2, 3, 1
  EXPECT_THROW(bench::MedianRatio({1, 2}, {1}), std::invalid_argument);
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
