#include "game/scheme_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

TEST(SchemeLines, EveryKindOfLineBreakEndsALine) {
  EXPECT_EQ(game::SplitSchemeLines("a\r\nb\r\nc\r\n"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(game::SplitSchemeLines("a\nb\nc\n"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(game::SplitSchemeLines("a\rb\rc\r"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(game::SplitSchemeLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
}

TEST(SchemeLines, EmptyLinesCountButAFinalBreakAddsNone) {
  EXPECT_EQ(game::SplitSchemeLines(""), Lines{});
  EXPECT_EQ(game::SplitSchemeLines("\r\n"), Lines{""});
  EXPECT_EQ(game::SplitSchemeLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(game::SplitSchemeLines("a\n\r"), (Lines{"a", ""})) << "LF then CR is two breaks";
}

TEST(SchemeLines, NamesAreKeptVerbatim) {
  const std::string long_name(300, 'x');
  EXPECT_EQ(game::SplitSchemeLines(" a b.jpg \r\n" + long_name + "\r\n"),
            (Lines{" a b.jpg ", long_name}));
  EXPECT_EQ(game::SplitSchemeLines("\xEF\xBB\xBF"
                                   "first.jpg\r\nsecond.jpg"),
            (Lines{"first.jpg", "second.jpg"}));
  EXPECT_EQ(game::SplitSchemeLines("\xC3\xA9t\xE9.jpg"), Lines{"\xC3\xA9t\xE9.jpg"});
}

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(i) + ".jpg\r\n";
  return text;
}

TEST(SchemeLines, FillsTheTableRowByRow) {
  game::ImageNameTable names;
  const std::string text = NumberedLines(60);
  game::FillImageNames(names, game::SplitSchemeLines(text));
  EXPECT_EQ(names[0][0], "0.jpg");
  EXPECT_EQ(names[0][6], "6.jpg");
  EXPECT_EQ(names[1][0], "7.jpg");
  EXPECT_EQ(names[6][6], "48.jpg");  // lines from 49 on are ignored
}

TEST(SchemeLines, MissingLinesLeaveCellsEmpty) {
  game::ImageNameTable names;
  names[6][6] = "from an earlier turn";
  const std::string text = NumberedLines(48);
  game::FillImageNames(names, game::SplitSchemeLines(text));
  EXPECT_EQ(names[6][5], "47.jpg");
  EXPECT_EQ(names[6][6], "");
  game::FillImageNames(names, game::SplitSchemeLines(""));
  for (const auto& row : names)
    for (const auto& name : row) EXPECT_EQ(name, "");
}

TEST(SchemeLines, SplittingStopsAtTheLinesWanted) {
  const std::string huge(1'000'000, '\n');
  EXPECT_EQ(game::SplitSchemeLines(huge, game::kSchemeLines).size(), 49u);
  EXPECT_EQ(game::SplitSchemeLines("a\r\nb\r\nc", 2), (Lines{"a", "b"}));
  EXPECT_EQ(game::SplitSchemeLines("a\r\nb", 0), Lines{});
  EXPECT_EQ(game::SplitSchemeLines("a\r\nb", 5), (Lines{"a", "b"}));
}

TEST(SchemeLines, CountingAgreesWithSplitting) {
  for (const std::string_view text :
       {"", "\r\n", "a", "a\r\n", "a\n\r", "\xEF\xBB\xBF", "\xEF\xBB\xBFx\ry\n\nz", "\r\r\n\n"}) {
    EXPECT_EQ(game::CountSchemeLines(text), game::SplitSchemeLines(text).size()) << text;
  }
}

}  // namespace
