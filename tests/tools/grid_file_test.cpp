#include "tools/content/grid_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace dravel_content {
namespace {

namespace fs = std::filesystem;

class GridFile : public ::testing::Test {
 protected:
  // A folder of the test's own: CTest runs the tests of this file at once.
  fs::path Write(const std::string& text) {
    const fs::path folder = fs::path(::testing::TempDir()) /
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(folder);
    const fs::path path = folder / "grid.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string Cells(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "pictures/cell " + std::to_string(i) + ".png\n";
    return text;
  }
  static std::string ErrorOf(const fs::path& path) {
    try {
      ReadGrid(path);
    } catch (const GridError& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(GridFile, ReadsCellsRowByRowAndTheFixedPictures) {
  const fs::path path = Write("# row 1\r\n\n" + Cells(49) + "ok.jpg :  right one.png \r\n");
  const Grid grid = ReadGrid(path);
  ASSERT_EQ(grid.cells.size(), 49u);
  EXPECT_EQ(grid.cells[8], path.parent_path() / "pictures/cell 8.png");
  ASSERT_TRUE(grid.right.has_value());
  EXPECT_EQ(*grid.right, path.parent_path() / "right one.png");
  EXPECT_FALSE(grid.waiting.has_value());
  EXPECT_EQ(ReadGrid(Write(Cells(48) + "photos/a: b.png\n")).cells.back().filename(), "a: b.png")
      << "only the fixed files' names are keys";
}

TEST_F(GridFile, SaysWhereItIsWrong) {
  EXPECT_NE(ErrorOf(Write(Cells(48))).find("48 pictures; a pack needs 49"), std::string::npos);
  EXPECT_NE(ErrorOf(Write(Cells(50))).find("grid.txt:50: more than 49"), std::string::npos);
  EXPECT_NE(ErrorOf(Write(Cells(49) + "no.jpg: a.png\nno.jpg: b.png\n"))
                .find(":51: no.jpg is given twice"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Write("reading.jpg:\n")).find(":1: no picture given"), std::string::npos);
  EXPECT_NE(ErrorOf(fs::path(::testing::TempDir()) / "no-such-grid.txt").find("cannot be read"),
            std::string::npos);
}

}  // namespace
}  // namespace dravel_content
