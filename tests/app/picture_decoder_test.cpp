// A picture decoded for its control: the control's exact size whatever the picture's, in its
// colours; damaged data fails.
#include "app/picture_decoder.h"

#include <gtest/gtest.h>

#include <QColor>

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

TEST(DecodeForControl, FitsEachPictureToItsControl) {
  struct Case {
    content::JpegPicture picture;
    QSize size;
    QRgb colour;
  };
  const Case cases[] = {
      {Solid({200, 40, 40}), QSize(30, 20), qRgb(200, 40, 40)},      // squeezed
      {Solid({40, 40, 200}, 16), QSize(80, 80), qRgb(40, 40, 200)},  // made larger
      {Solid({40, 200, 40}), QSize(32, 32), qRgb(40, 200, 40)},      // a scale of the decoder
  };
  for (const Case& c : cases) {
    const QImage image = app::DecodeForControl(c.picture, c.size);
    EXPECT_EQ(image.size(), c.size);
    const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
    EXPECT_NEAR(qRed(centre), qRed(c.colour), 40);
    EXPECT_NEAR(qGreen(centre), qGreen(c.colour), 40);
    EXPECT_NEAR(qBlue(centre), qBlue(c.colour), 40);
  }
}

TEST(DecodeForControl, DamagedDataFails) {
  testsupport::JpegOptions options;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  const auto damaged =
      content::JpegPicture::Load(testsupport::WithBadLaterScan(testsupport::MakeJpeg(options)));
  EXPECT_THROW(app::DecodeForControl(damaged, QSize(40, 40)), content::JpegError);
}

}  // namespace
