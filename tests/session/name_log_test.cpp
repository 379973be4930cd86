#include "session/name_log.h"

#include <gtest/gtest.h>

namespace {

TEST(NameLog, KeepsTheNewestLinesWithinItsBudget) {
  session::NameLog log(10);
  for (const char* line : {"aaaa", "bbbb", "cc"}) log.AppendLine(line);
  EXPECT_EQ(log.LineCount(), 3u);
  EXPECT_EQ(log.Bytes(), 10u);
  log.AppendLine("d");
  EXPECT_EQ(log.LineCount(), 3u) << "the oldest line went";
  EXPECT_EQ(log.Line(0), "bbbb");
  EXPECT_EQ(log.Line(2), "d");
  log.AppendLine("a line longer than the whole budget");
  EXPECT_EQ(log.LineCount(), 1u);
  EXPECT_EQ(log.Line(0), "a line lon");
  log.AppendLine("");
  EXPECT_EQ(log.LineCount(), 2u) << "an empty name is a line too";
}

}  // namespace
