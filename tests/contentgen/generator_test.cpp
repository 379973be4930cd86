#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/contentgen/pack_files.h"

namespace contentgen_test {
namespace {

namespace fs = std::filesystem;

class Generator : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "contentgen-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    scratch_ = pattern;
  }
  void TearDown() override { fs::remove_all(scratch_); }

  static int Run(const fs::path& folder) {
    const std::string command =
        std::string("'") + DRAVEL_CONTENTGEN_EXE + "' '" + folder.string() + "' 2>/dev/null";
    return std::system(command.c_str());
  }

  fs::path scratch_;
};

// The pack is part of the build: a second run must give the very same bytes.
TEST_F(Generator, WritesTheSamePackEveryTime) {
  const fs::path fresh = scratch_ / "uploads" / "all" / "dravel" / "1";
  ASSERT_EQ(Run(fresh), 0);
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(BuiltPackFolder())) {
    const fs::path name = entry.path().filename();
    SCOPED_TRACE(name.string());
    ASSERT_TRUE(fs::exists(fresh / name));
    EXPECT_TRUE(ReadWholeFile(entry.path()) == ReadWholeFile(fresh / name));
    ++files;
  }
  EXPECT_EQ(files, 49 + 4);
  EXPECT_EQ(std::distance(fs::directory_iterator(fresh), fs::directory_iterator()), files)
      << "stray files, such as half-written ones, left beside the pack";
  const fs::perms others = fs::status(fresh / "ok.jpg").permissions() & fs::perms::others_read;
  EXPECT_EQ(others, fs::perms::others_read) << "a server's worker user must read the pack";
}

TEST_F(Generator, FailsCleanlyWhereNoFolderCanBe) {
  const fs::path blocker = scratch_ / "plain-file";
  { std::ofstream(blocker) << "not a folder"; }
  const int status = Run(blocker / "pack");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace contentgen_test
