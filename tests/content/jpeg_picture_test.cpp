#include "content/jpeg_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "content/content_error.h"
#include "tests/support/jpeg_maker.h"

namespace {

using content::DecodedImage;
using content::JpegError;
using content::JpegPicture;
using testsupport::JpegColor;
using testsupport::JpegOptions;
using testsupport::JpegPattern;
using testsupport::MakeJpeg;
using testsupport::Rgb;

JpegOptions Options(int width, int height, JpegColor color = JpegColor::kColor,
                    bool progressive = false) {
  JpegOptions options;
  options.width = width;
  options.height = height;
  options.color_space = color;
  options.progressive = progressive;
  return options;
}

// The decoded colour at (x, y) is within `tolerance` of `want` on every channel, alpha opaque.
::testing::AssertionResult PixelNear(const DecodedImage& image, int x, int y, Rgb want,
                                     int tolerance = 24) {
  const std::uint32_t pixel = image.pixels.at(static_cast<std::size_t>(y) * image.width + x);
  const int r = pixel >> 16 & 0xFF;
  const int g = pixel >> 8 & 0xFF;
  const int b = pixel & 0xFF;
  if ((pixel >> 24) == 0xFF && std::abs(r - want.r) <= tolerance &&
      std::abs(g - want.g) <= tolerance && std::abs(b - want.b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "pixel " << x << "," << y << " is " << std::hex << pixel << ", want " << std::dec
         << int{want.r} << "," << int{want.g} << "," << int{want.b};
}

TEST(JpegPictureTest, ReadsTheHeaderFacts) {
  struct Case {
    JpegColor color;
    bool progressive;
  };
  for (const Case c : {Case{JpegColor::kColor, false}, Case{JpegColor::kColor, true},
                       Case{JpegColor::kGray, false}, Case{JpegColor::kGray, true},
                       Case{JpegColor::kCmyk, false}, Case{JpegColor::kYcck, true}}) {
    SCOPED_TRACE(static_cast<int>(c.color) * 2 + c.progressive);
    const JpegPicture picture =
        JpegPicture::Load(MakeJpeg(Options(37, 21, c.color, c.progressive)));
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Info().width, 37);
    EXPECT_EQ(picture.Info().height, 21);
    EXPECT_EQ(picture.Info().progressive, c.progressive);
  }
}

TEST(JpegPictureTest, KeepsItsOwnCopySharedBetweenCopies) {
  std::string bytes = MakeJpeg(Options(8, 8));
  const std::string original = bytes;
  const JpegPicture picture = JpegPicture::Load(bytes);
  bytes.assign(bytes.size(), '\0');
  EXPECT_EQ(picture.Data(), original);
  const JpegPicture copy = picture;
  EXPECT_EQ(copy.Data().data(), picture.Data().data());
}

TEST(JpegPictureTest, AdoptTakesOverTheBufferOnlyWhenItLoads) {
  std::string bytes = MakeJpeg(Options(8, 8));
  const char* const buffer = bytes.data();
  const JpegPicture picture = JpegPicture::Adopt(std::move(bytes));
  EXPECT_EQ(picture.Data().data(), buffer) << "no copy of the bytes";
  EXPECT_EQ(picture.Info().width, 8);
  EXPECT_TRUE(JpegPicture::Adopt(std::string()).Empty());

  std::string html = "<html><body>Not Found</body></html>";
  EXPECT_THROW(JpegPicture::Adopt(std::move(html)), JpegError);
  EXPECT_EQ(html, "<html><body>Not Found</body></html>") << "a refused body stays the caller's";
}

TEST(JpegPictureTest, EmptyBytesGiveTheEmptyPicture) {
  const JpegPicture picture = JpegPicture::Load("");
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Data(), "");
  const DecodedImage image = picture.DecodeToCover(80, 80);
  EXPECT_EQ(image.width, 0);
  EXPECT_TRUE(image.pixels.empty());
}

TEST(JpegPictureTest, RefusesWhatIsNotAJpeg) {
  const std::string jpeg = MakeJpeg(Options(16, 16));
  const std::string not_jpegs[] = {
      "<!DOCTYPE html>\n<html><body>Not Found</body></html>\n",
      std::string("\xFF\xD8", 2),
      std::string("\xFF\xD8\xFF\xD9", 4),
      testsupport::Truncated(jpeg, 40),
      testsupport::WithCorruptHeader(jpeg),
  };
  for (const std::string& bytes : not_jpegs) {
    EXPECT_THROW(JpegPicture::Load(bytes), JpegError) << bytes.size();
  }
}

TEST(JpegPictureTest, RefusesPicturesOverTheSizeLimits) {
  const std::string jpeg = MakeJpeg(Options(16, 16));
  EXPECT_THROW(JpegPicture::Load(testsupport::WithDimensions(jpeg, 65'535, 65'535)), JpegError);
  EXPECT_THROW(JpegPicture::Load(testsupport::WithDimensions(jpeg, 16'385, 16)), JpegError);
  EXPECT_THROW(JpegPicture::Load(testsupport::WithDimensions(jpeg, 16, 16'385)), JpegError);
  EXPECT_THROW(JpegPicture::Load(testsupport::WithDimensions(jpeg, 10'000, 10'000)), JpegError);

  // At the limit the header passes; its data, meant for 16 x 16, ends early.
  const JpegPicture forged = JpegPicture::Load(testsupport::WithDimensions(jpeg, 16'384, 4'096));
  EXPECT_EQ(forged.Info().width, 16'384);
  forged.DecodeToCover(80, 80);
  EXPECT_TRUE(forged.Patched().starts_with("Corrupt JPEG data")) << forged.Patched();

  // Progressive CMYK at the limit would need a 512 MB coefficient buffer and seconds of work:
  // refused at load, before anything is decoded.
  const std::string cmyk = MakeJpeg(Options(16, 16, JpegColor::kCmyk, true));
  EXPECT_THROW(JpegPicture::Load(testsupport::WithDimensions(cmyk, 16'384, 4'096)), JpegError);
}

TEST(JpegPictureTest, DecodesAtTheSmallestScaleThatCoversTheTile) {
  const JpegPicture picture = JpegPicture::Load(MakeJpeg(Options(360, 360)));
  struct Case {
    int want_width, want_height, width, height;
  };
  for (const Case c : {Case{80, 80, 90, 90}, Case{180, 180, 180, 180}, Case{73, 68, 90, 90},
                       Case{1, 1, 45, 45}, Case{0, -5, 45, 45}, Case{80, 200, 225, 225},
                       Case{361, 10, 360, 360}, Case{4000, 4000, 360, 360}}) {
    const DecodedImage image = picture.DecodeToCover(c.want_width, c.want_height);
    EXPECT_EQ(image.width, c.width) << c.want_width << "x" << c.want_height;
    EXPECT_EQ(image.height, c.height) << c.want_width << "x" << c.want_height;
    EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(c.width) * c.height);
  }
  const DecodedImage full = picture.DecodeFull();
  EXPECT_EQ(full.width, 360);
  EXPECT_EQ(full.height, 360);
}

// The pixel buffer is not zero-filled before decoding, so every pixel must come from the
// decoder. A decode of another colour just before leaves its pixels in the memory that the
// allocator hands out next.
TEST(JpegPictureTest, WritesEveryPixelOfTheBuffer) {
  for (const JpegColor color :
       {JpegColor::kColor, JpegColor::kGray, JpegColor::kCmyk, JpegColor::kYcck}) {
    for (const bool progressive : {false, true}) {
      JpegOptions options = Options(120, 72, color, progressive);
      JpegOptions other = options;
      other.color = {20, 60, 230};
      const JpegPicture picture = JpegPicture::Load(MakeJpeg(options));
      const JpegPicture before = JpegPicture::Load(MakeJpeg(other));
      for (const int side : {15, 40, 80, 120}) {
        SCOPED_TRACE(std::to_string(static_cast<int>(color) * 2 + progressive) + " at " +
                     std::to_string(side));
        before.DecodeToCover(side, side);
        const DecodedImage image = picture.DecodeToCover(side, side);
        const Rgb want = testsupport::PatternColor(options, 0, 0);
        int wrong = 0;
        for (int y = 0; y < image.height; ++y)
          for (int x = 0; x < image.width; ++x) wrong += !PixelNear(image, x, y, want);
        EXPECT_EQ(wrong, 0);
      }
    }
  }
}

TEST(JpegPictureTest, ShowsEveryColourSpaceInPlace) {
  for (const JpegColor color :
       {JpegColor::kColor, JpegColor::kGray, JpegColor::kCmyk, JpegColor::kYcck}) {
    for (const bool progressive : {false, true}) {
      SCOPED_TRACE(static_cast<int>(color) * 2 + progressive);
      JpegOptions options = Options(64, 48, color, progressive);
      options.pattern = JpegPattern::kQuadrants;
      const DecodedImage image = JpegPicture::Load(MakeJpeg(options)).DecodeToCover(32, 24);
      ASSERT_EQ(image.width, 32);
      for (const auto& [x, y] :
           {std::pair{8, 6}, std::pair{24, 6}, std::pair{8, 18}, std::pair{24, 18}}) {
        EXPECT_TRUE(PixelNear(image, x, y, testsupport::PatternColor(options, 2 * x, 2 * y)));
      }
    }
  }
}

// What libjpeg can only patch over decodes as far as it goes, as browsers show it, the rest
// filled as libjpeg fills it, and the picture says what was wrong.
TEST(JpegPictureTest, DataLibjpegPatchesOverShowsWhatDecodes) {
  JpegOptions options = Options(64, 64);
  options.pattern = JpegPattern::kTexture;  // entropy data well beyond the header
  const std::string baseline = MakeJpeg(options);
  options.progressive = true;
  const std::string progressive = MakeJpeg(options);
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {
      {testsupport::Truncated(baseline, baseline.size() * 6 / 10), "Premature end of JPEG file"},
      {testsupport::Truncated(baseline, baseline.size() - 2), "Premature end of JPEG file"},
      {testsupport::Truncated(progressive, progressive.size() * 3 / 4),
       "Premature end of JPEG file"},
      {testsupport::WithCorruptEntropyData(baseline), "Corrupt JPEG data"},
      {testsupport::WithCorruptEntropyData(progressive), "Corrupt JPEG data"},
  };
  for (const auto& [bytes, says] : cases) {
    SCOPED_TRACE(std::to_string(bytes.size()) + " bytes");
    const JpegPicture picture = JpegPicture::Load(bytes);
    EXPECT_EQ(picture.Patched(), "") << "nothing is known before a decode";
    EXPECT_EQ(picture.DecodeFull().pixels.size(), 64u * 64u);
    EXPECT_TRUE(picture.Patched().starts_with(says)) << picture.Patched();
    EXPECT_EQ(JpegPicture(picture).Patched(), picture.Patched()) << "copies share what was found";
  }

  // Cut at 60%: the first rows are the whole picture's, the last row is libjpeg's even fill.
  const DecodedImage whole = JpegPicture::Load(baseline).DecodeFull();
  const DecodedImage cut = JpegPicture::Load(cases[0].bytes).DecodeFull();
  for (int i = 0; i < 64 * 8; ++i) ASSERT_EQ(cut.pixels[i], whole.pixels[i]) << i;
  const auto last_row = cut.pixels.begin() + 63 * 64;
  EXPECT_TRUE(
      std::all_of(last_row, last_row + 64, [&](std::uint32_t p) { return p == *last_row; }));
  EXPECT_NE(*last_row, whole.pixels[63 * 64]);
}

TEST(JpegPictureTest, DataLibjpegCannotDecodeFailsOnlyWhenDecoded) {
  JpegOptions options = Options(64, 64);
  options.progressive = true;
  const JpegPicture picture = JpegPicture::Load(testsupport::WithBadLaterScan(MakeJpeg(options)));
  EXPECT_THROW(picture.DecodeToCover(80, 80), JpegError);
  EXPECT_THROW(picture.DecodeFull(), JpegError);
  EXPECT_EQ(picture.Patched(), "");
}

// Pictures of an encoding libjpeg was built without are told from bytes that are no JPEG.
TEST(JpegPictureTest, UnsupportedEncodingsAreNamedAsSuch) {
  const std::string jpeg = MakeJpeg(Options(16, 16));
  std::string twelve_bit = jpeg;
  const std::size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  twelve_bit[frame + 1] = '\xC1';  // extended sequential
  twelve_bit[frame + 4] = 12;      // sample precision
  std::string lossless = jpeg;
  lossless[frame + 1] = '\xC3';
  for (const std::string& bytes : {twelve_bit, lossless}) {
    try {
      JpegPicture::Load(bytes);
      ADD_FAILURE() << "loaded";
    } catch (const content::UnsupportedJpeg& error) {
      EXPECT_TRUE(std::string(error.what())
                      .starts_with("a JPEG of an encoding that cannot be "
                                   "shown: Unsupported JPEG "))
          << error.what();
    }
  }
  EXPECT_THROW(JpegPicture::Load(testsupport::WithCorruptHeader(jpeg)), JpegError);
  try {
    JpegPicture::Load(testsupport::WithCorruptHeader(jpeg));
  } catch (const content::UnsupportedJpeg&) {
    ADD_FAILURE() << "a precision of 3 bits is no encoding at all";
  } catch (const JpegError&) {
  }
}

TEST(JpegPictureTest, RefusesToDecodeAProgressiveFileWithThousandsOfScans) {
  const std::string ordinary = MakeJpeg(Options(32, 32, JpegColor::kColor, true));
  EXPECT_LT(testsupport::CountScans(ordinary), 20);
  EXPECT_NO_THROW(JpegPicture::Load(ordinary).DecodeFull());

  const std::string many = testsupport::MakeManyScansJpeg();
  EXPECT_GT(testsupport::CountScans(many), 2000);
  const JpegPicture picture = JpegPicture::Load(many);
  EXPECT_TRUE(picture.Info().progressive);
  try {
    picture.DecodeToCover(16, 16);
    ADD_FAILURE() << "decoded";
  } catch (const JpegError& error) {
    EXPECT_NE(std::string(error.what()).find("scans"), std::string::npos) << error.what();
  }
}

}  // namespace
