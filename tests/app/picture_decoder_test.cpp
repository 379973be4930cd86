// The decoder thread: pictures for their controls, damage passed on, and an end that neither
// hangs nor leaves a decode behind that reads freed memory.
#include "app/picture_decoder.h"

#include <gtest/gtest.h>

#include <QColor>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "content/content_error.h"
#include "content/jpeg_picture.h"
#include "tests/support/jpeg_maker.h"

namespace {

content::JpegPicture Solid(testsupport::Rgb color, int side = 64) {
  testsupport::JpegOptions options;
  options.width = options.height = side;
  options.color = color;
  return content::JpegPicture::Load(testsupport::MakeJpeg(options));
}

void ExpectNear(QRgb actual, QRgb expected) {
  EXPECT_NEAR(qRed(actual), qRed(expected), 40);
  EXPECT_NEAR(qGreen(actual), qGreen(expected), 40);
  EXPECT_NEAR(qBlue(actual), qBlue(expected), 40);
}

TEST(PictureDecoder, DecodesEachPictureFittedToItsControl) {
  app::PictureDecoder decoder;
  std::vector<app::PendingDecode> pending;
  pending.push_back(decoder.Decode(Solid({200, 40, 40}), QSize(30, 20)));
  pending.push_back(decoder.Decode(Solid({40, 40, 200}, 16), QSize(80, 80)));  // made larger
  pending.push_back(decoder.Decode(Solid({40, 200, 40}), QSize(32, 32)));      // a DCT scale
  const QRgb colours[] = {qRgb(200, 40, 40), qRgb(40, 40, 200), qRgb(40, 200, 40)};
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const QImage image = pending[i].decoded.get();
    EXPECT_EQ(image.size(), pending[i].size) << "decode " << i;
    ExpectNear(image.pixel(image.width() / 2, image.height() / 2), colours[i]);
  }
}

TEST(PictureDecoder, DamagedDataReachesWhoeverTakesTheDecode) {
  app::PictureDecoder decoder;
  testsupport::JpegOptions options;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  const auto damaged =
      content::JpegPicture::Load(testsupport::WithBadLaterScan(testsupport::MakeJpeg(options)));
  app::PendingDecode pending = decoder.Decode(damaged, QSize(40, 40));
  EXPECT_THROW(pending.decoded.get(), content::JpegError);
  EXPECT_EQ(decoder.Decode(Solid({1, 2, 3}), QSize(8, 8)).decoded.get().size(), QSize(8, 8))
      << "the thread goes on after a damaged picture";
}

// The program ends while pictures still wait their turn: it ends at once, and a decode never
// outlives the decoder.
TEST(PictureDecoder, EndsWithWorkQueuedAndLeavesTheRestUndone) {
  const content::JpegPicture large = Solid({9, 9, 9}, 1024);
  std::vector<app::PendingDecode> pending;
  {
    app::PictureDecoder decoder;
    for (int i = 0; i < 50; ++i) pending.push_back(decoder.Decode(large, QSize(1024, 1024)));
  }
  int done = 0;
  int dropped = 0;
  for (app::PendingDecode& decode : pending) {
    ASSERT_EQ(decode.decoded.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    try {
      decode.decoded.get();
      ++done;
    } catch (const std::future_error&) {
      ++dropped;
    }
  }
  EXPECT_EQ(done + dropped, 50);
  EXPECT_GT(dropped, 0);
}

}  // namespace
