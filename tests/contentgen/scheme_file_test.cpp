#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/contentgen/pack_files.h"

namespace contentgen_test {
namespace {

struct NameParts {
  std::string shape;
  std::string colour;
};

// "star-amber.jpg" -> {"star", "amber"}; empty parts when the name has another form.
NameParts SplitName(const std::string& name) {
  const std::size_t dash = name.find('-');
  const std::size_t dot = name.rfind(".jpg");
  if (dash == std::string::npos || dot == std::string::npos || dot + 4 != name.size() ||
      dash > dot) {
    return {};
  }
  return {name.substr(0, dash), name.substr(dash + 1, dot - dash - 1)};
}

class SchemeFile : public ::testing::Test {
 protected:
  std::string text_ = ReadWholeFile(BuiltPackFolder() / "shemoftask.txt");
  std::vector<std::string> lines_ = SchemeLines(text_);
};

TEST_F(SchemeFile, HasExactly49LinesEachEndedByCrLf) {
  ASSERT_EQ(lines_.size(), 49u);
  ASSERT_GE(text_.size(), 2u);
  EXPECT_EQ(text_.substr(text_.size() - 2), "\r\n");
  for (const std::string& line : lines_) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in " << line;
  }
}

TEST_F(SchemeFile, NamesAreSafeUniqueFilesOfThePack) {
  std::set<std::string> seen;
  for (const std::string& line : lines_) {
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find_first_not_of("abcdefghijklmnopqrstuvwxyz-."), std::string::npos)
        << line << " needs escaping in an address";
    EXPECT_TRUE(seen.insert(line).second) << line << " is named twice";
    EXPECT_TRUE(std::filesystem::is_regular_file(BuiltPackFolder() / line)) << line;
  }
}

// Row r is one shape, column c one colour: the two words of the name say which.
TEST_F(SchemeFile, RowsShareAShapeAndColumnsAColour) {
  ASSERT_EQ(lines_.size(), 49u);
  std::set<std::string> shapes;
  std::set<std::string> colours;
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      const NameParts parts = SplitName(lines_[7 * r + c]);
      ASSERT_FALSE(parts.shape.empty() || parts.colour.empty()) << lines_[7 * r + c];
      EXPECT_EQ(parts.shape, SplitName(lines_[7 * r]).shape) << "row " << r;
      EXPECT_EQ(parts.colour, SplitName(lines_[c]).colour) << "column " << c;
      shapes.insert(parts.shape);
      colours.insert(parts.colour);
    }
  }
  EXPECT_EQ(shapes.size(), 7u);
  EXPECT_EQ(colours.size(), 7u);
}

}  // namespace
}  // namespace contentgen_test
