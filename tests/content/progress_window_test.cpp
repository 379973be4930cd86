#include "content/progress_window.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using content::ProgressWindow;

TEST(ProgressWindow, EachWindowMustBringItsShare) {
  const ProgressWindow::Clock::time_point start{};
  ProgressWindow progress(1'000ms, 100, start);
  EXPECT_TRUE(progress.Moving(start + 999ms)) << "nothing is judged before the window ends";
  progress.Add(60);
  progress.Add(40);
  EXPECT_TRUE(progress.Moving(start + 1'000ms)) << "exactly enough";
  EXPECT_EQ(progress.Bytes(), 0u);
  EXPECT_EQ(progress.WindowEnd(), start + 2'000ms) << "the next window starts when one is judged";
  progress.Add(99);
  EXPECT_FALSE(progress.Moving(start + 2'000ms));
  EXPECT_EQ(progress.Bytes(), 99u) << "what the failed window brought, for the message";
}

TEST(ProgressWindow, ADripOfAByteNowAndThenFailsAtTheFirstWindow) {
  const ProgressWindow::Clock::time_point start{};
  ProgressWindow progress(4'000ms, 4'096, start);
  for (int second = 1; second <= 3; ++second) {
    progress.Add(1);
    EXPECT_TRUE(progress.Moving(start + second * 1'000ms));
  }
  EXPECT_FALSE(progress.Moving(start + 4'000ms));
}

}  // namespace
