// Pictures made by other programs than the game's own maker (libjpeg-turbo's cjpeg and
// jpegtran, ImageMagick's convert), cut short, with corrupt data bytes or a stray marker: each
// shows what djpeg shows of it, and says what libjpeg patched over.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/content_error.h"
#include "content/jpeg_picture.h"
#include "tests/support/jpeg_maker.h"

namespace {

namespace fs = std::filesystem;
using content::JpegPicture;

constexpr int kSide = 96;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Shell(const std::string& command) {
  return std::system((command + " 2>/dev/null").c_str()) == 0;
}

class ForeignPictures : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"cjpeg", "djpeg", "jpegtran", "convert"}) {
      if (!Shell(std::string("command -v ") + tool + " >/dev/null")) {
        GTEST_SKIP() << tool << " is missing: scripts/install-deps test installs it";
      }
    }
    dir_ = fs::temp_directory_path() / ("dravel-foreign-" + std::to_string(getpid()));
    fs::create_directories(dir_);
    testsupport::JpegOptions options;
    options.width = options.height = kSide;
    options.pattern = testsupport::JpegPattern::kTexture;
    std::string ppm = "P6\n" + std::to_string(kSide) + " " + std::to_string(kSide) + "\n255\n";
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const testsupport::Rgb c = testsupport::PatternColor(options, x, y);
        ppm += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
      }
    }
    WriteFile(dir_ / "source.ppm", ppm);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // Made by `command`, which reads source.ppm or base.jpg in the folder and writes out.jpg.
  std::string Made(const std::string& command) {
    EXPECT_TRUE(Shell("cd '" + dir_.string() + "' && " + command)) << command;
    return ReadFile(dir_ / "out.jpg");
  }

  // What djpeg shows of `jpeg`, as 0xFFRRGGBB words; djpeg too warns and goes on.
  std::vector<std::uint32_t> AsDjpegShowsIt(const std::string& jpeg) {
    WriteFile(dir_ / "shown.jpg", jpeg);
    Shell("djpeg -pnm -outfile '" + (dir_ / "shown.ppm").string() + "' '" +
          (dir_ / "shown.jpg").string() + "'");
    const std::string ppm = ReadFile(dir_ / "shown.ppm");
    const std::string head =
        "P6\n" + std::to_string(kSide) + " " + std::to_string(kSide) + "\n255\n";
    std::vector<std::uint32_t> pixels;
    if (!ppm.starts_with(head)) return pixels;
    for (std::size_t i = head.size(); i + 2 < ppm.size(); i += 3) {
      const auto byte = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(ppm[at]));
      };
      pixels.push_back(0xFF000000u | byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2));
    }
    return pixels;
  }

  fs::path dir_;
};

TEST_F(ForeignPictures, DamagedShowAsDjpegShowsThemAndSayWhatWasWrong) {
  const std::string made[] = {
      Made("cjpeg -quality 85 -outfile out.jpg source.ppm"),
      Made("cjpeg -quality 85 -progressive -outfile out.jpg source.ppm"),
      Made("cjpeg -quality 85 -outfile base.jpg source.ppm && "
           "jpegtran -restart 1 -outfile out.jpg base.jpg"),
      Made("convert source.ppm -quality 80 -interlace JPEG out.jpg"),
      Made("convert source.ppm -quality 80 -sampling-factor 1x1 out.jpg"),
  };
  for (const std::string& whole : made) {
    ASSERT_GT(whole.size(), 1000u);
    const std::size_t middle = whole.size() * 3 / 4;
    std::string corrupt = whole;
    for (std::size_t i = middle; i < middle + 6; ++i) corrupt[i] = static_cast<char>(i * 37);
    const struct {
      const char* what;
      std::string bytes;
      bool warns;  // corrupt bytes may well be valid codes of other values
    } damaged[] = {
        {"cut at 60%", testsupport::Truncated(whole, whole.size() * 6 / 10), true},
        {"corrupt data bytes", corrupt, false},
        {"a stray marker", testsupport::WithCorruptEntropyData(whole), true},
    };
    for (const auto& [what, bytes, warns] : damaged) {
      SCOPED_TRACE(std::string(what) + " of a file of " + std::to_string(whole.size()) + " bytes");
      const JpegPicture picture = JpegPicture::Load(bytes);
      try {
        const content::DecodedImage shown = picture.DecodeFull();
        const std::vector<std::uint32_t> pixels(shown.pixels.begin(), shown.pixels.end());
        EXPECT_TRUE(pixels == AsDjpegShowsIt(bytes));
        EXPECT_TRUE(!warns || !picture.Patched().empty());
      } catch (const content::JpegError& error) {
        // Corrupt bytes may hit a marker libjpeg cannot go on from; djpeg fails there too.
        EXPECT_TRUE(AsDjpegShowsIt(bytes).empty()) << error.what();
      }
    }
  }
}

}  // namespace
