#include "content/decode_cost.h"

#include <gtest/gtest.h>

#include "content/content_error.h"
#include "tests/support/jpeg_maker.h"

namespace {

using content::JpegPicture;
using testsupport::JpegOptions;

std::string Made(bool progressive, bool arithmetic = false, int side = 360) {
  JpegOptions options;
  options.width = options.height = side;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = progressive;
  options.arithmetic = arithmetic;
  return testsupport::MakeJpeg(options);
}

TEST(DecodeCost, ScansAreCountedFromTheData) {
  for (const std::string& jpeg : {Made(false), Made(true), testsupport::MakeManyScansJpeg()}) {
    EXPECT_EQ(content::CountScans(jpeg), testsupport::CountScans(jpeg));
    EXPECT_EQ(JpegPicture::Load(jpeg).Info().scans, testsupport::CountScans(jpeg));
  }
}

TEST(DecodeCost, PicturesOfARealPackAreCheap) {
  for (const bool progressive : {false, true}) {
    for (const bool arithmetic : {false, true}) {
      const std::string jpeg = Made(progressive, arithmetic);
      const JpegPicture picture = JpegPicture::Load(jpeg);
      EXPECT_LT(content::DecodeCost(picture.Info(), jpeg.size()), content::kMaxDecodeCost / 50)
          << progressive << arithmetic;
    }
  }
}

// The header alone says how large a picture is: forged sides make a picture as costly as a
// real one of that size, without the time it takes to make one.
TEST(DecodeCost, LargeProgressivePicturesAreRefusedAtLoadAndSequentialOnesAreNot) {
  const std::string progressive = testsupport::WithDimensions(Made(true, false, 64), 8'192, 8'192);
  try {
    JpegPicture::Load(progressive);
    ADD_FAILURE() << "no error";
  } catch (const content::JpegError& error) {
    EXPECT_NE(std::string(error.what()).find("too costly"), std::string::npos) << error.what();
  }
  EXPECT_NO_THROW(
      JpegPicture::Load(testsupport::WithDimensions(Made(false, false, 64), 8'192, 8'192)));
  const std::string medium = testsupport::WithDimensions(Made(true, false, 64), 2'048, 2'048);
  EXPECT_NO_THROW(JpegPicture::Load(medium));
  content::JpegInfo info = JpegPicture::Load(medium).Info();
  const long long huffman = content::DecodeCost(info, medium.size());
  info.arithmetic = true;
  EXPECT_GT(content::DecodeCost(info, medium.size()), huffman);
  info.scans *= 10;
  EXPECT_GT(content::DecodeCost(info, medium.size()), huffman);
}

}  // namespace
