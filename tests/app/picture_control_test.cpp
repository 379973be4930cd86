// The picture control: stretched painting, clicks, shared copies, damaged data.
#include "app/picture_control.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <string>
#include <vector>

#include "content/jpeg_picture.h"
#include "tests/support/jpeg_maker.h"

namespace {

constexpr QRgb kBackdrop = qRgb(255, 0, 255);

// A backdrop of a colour no test picture has, with the control on it.
class PictureControl : public testing::Test {
 protected:
  PictureControl() {
    backdrop_.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(kBackdrop));
    backdrop_.setPalette(palette);
    backdrop_.resize(100, 60);
    picture_->setGeometry(10, 10, 80, 40);
  }

  QImage Painted() { return backdrop_.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QRgb At(const QImage& image, int x, int y) const { return image.pixel(10 + x, 10 + y); }

  static void ExpectNear(QRgb actual, QRgb expected) {
    EXPECT_NEAR(qRed(actual), qRed(expected), 40);
    EXPECT_NEAR(qGreen(actual), qGreen(expected), 40);
    EXPECT_NEAR(qBlue(actual), qBlue(expected), 40);
  }

  QWidget backdrop_;
  app::TImage* picture_ = new app::TImage(&backdrop_);
};

content::JpegPicture Quadrants(int width, int height) {
  testsupport::JpegOptions options;
  options.width = width;
  options.height = height;
  options.pattern = testsupport::JpegPattern::kQuadrants;
  return content::JpegPicture::Load(testsupport::MakeJpeg(options));
}

TEST_F(PictureControl, StretchesThePictureOverItsWholeRectangle) {
  picture_->SetPicture(Quadrants(64, 64));  // square picture, wide control
  const QImage image = Painted();
  ExpectNear(At(image, 5, 5), qRgb(255, 0, 0));
  ExpectNear(At(image, 74, 5), qRgb(0, 255, 0));
  ExpectNear(At(image, 5, 34), qRgb(0, 0, 255));
  ExpectNear(At(image, 74, 34), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(5, 5), kBackdrop) << "nothing outside the control";
}

TEST_F(PictureControl, LargePicturesAreScaledDownSharply) {
  picture_->SetPicture(Quadrants(360, 360));
  const QImage image = Painted();
  ExpectNear(At(image, 38, 18), qRgb(255, 0, 0));
  ExpectNear(At(image, 41, 21), qRgb(255, 255, 255));
}

TEST_F(PictureControl, EmptyControlPaintsNothing) {
  const QImage empty = Painted();
  EXPECT_EQ(At(empty, 40, 20), kBackdrop);
  picture_->SetPicture(Quadrants(16, 16));
  picture_->SetPicture(content::JpegPicture::Load(""));
  EXPECT_EQ(At(Painted(), 40, 20), kBackdrop);
}

TEST_F(PictureControl, DamagedDataIsReportedOnceAndShowsNothing) {
  std::vector<std::string> reports;
  picture_->SetDamageReporter([&](const std::string& message) { reports.push_back(message); });
  testsupport::JpegOptions options;
  options.width = options.height = 64;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  const std::string damaged = testsupport::WithBadLaterScan(testsupport::MakeJpeg(options));
  picture_->SetPicture(content::JpegPicture::Load(damaged));  // the header is fine

  EXPECT_EQ(At(Painted(), 40, 20), kBackdrop);
  Painted();
  picture_->resize(60, 30);
  Painted();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].empty());
  // The window assigns what it shows after every handler: the same picture again is no news.
  picture_->SetPicture(content::JpegPicture(picture_->Picture()));
  Painted();
  EXPECT_EQ(reports.size(), 1u);

  picture_->SetPicture(Quadrants(16, 16));
  EXPECT_NE(At(Painted(), 5, 5), kBackdrop) << "a new picture shows again";
  EXPECT_EQ(reports.size(), 1u);
}

// A picture covers what lies beneath it, which is then not painted: one found damaged as it is
// painted must not leave the picture before it on the screen.
TEST_F(PictureControl, ADamagedPictureLeavesNothingOfTheOneBeforeOnTheScreen) {
  backdrop_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop_));
  const auto on_screen = [&] {
    QCoreApplication::processEvents();
    return backdrop_.screen()->grabWindow(backdrop_.winId()).toImage().pixel(50, 30);
  };
  picture_->SetPicture(Quadrants(16, 16));
  EXPECT_NE(on_screen(), kBackdrop);
  testsupport::JpegOptions options;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  const std::string damaged = testsupport::WithBadLaterScan(testsupport::MakeJpeg(options));
  picture_->SetPicture(content::JpegPicture::Load(damaged));
  EXPECT_EQ(on_screen(), kBackdrop);
  EXPECT_EQ(on_screen(), kBackdrop) << "and what lies beneath shows through from then on";
}

content::JpegPicture Solid(testsupport::Rgb color) {
  testsupport::JpegOptions options;
  options.color = color;
  return content::JpegPicture::Load(testsupport::MakeJpeg(options));
}

// Each turn fetches every picture anew: the same bytes may keep their decode, other bytes of
// the same size never show the old one, and damaged bytes fetched again are reported again.
TEST_F(PictureControl, NewBytesAlwaysShowEvenWhenTheSameBytesKeepTheirDecode) {
  picture_->SetPicture(Solid({200, 40, 40}));
  ExpectNear(At(Painted(), 40, 20), qRgb(200, 40, 40));
  picture_->SetPicture(Solid({40, 40, 200}));
  ExpectNear(At(Painted(), 40, 20), qRgb(40, 40, 200));
  picture_->SetPicture(Solid({40, 40, 200}));
  picture_->resize(30, 20);
  ExpectNear(At(Painted(), 15, 10), qRgb(40, 40, 200));

  std::vector<std::string> reports;
  picture_->SetDamageReporter([&](const std::string& message) { reports.push_back(message); });
  testsupport::JpegOptions options;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  const std::string damaged = testsupport::WithBadLaterScan(testsupport::MakeJpeg(options));
  picture_->SetPicture(content::JpegPicture::Load(damaged));
  Painted();
  picture_->SetPicture(content::JpegPicture::Load(damaged));
  EXPECT_EQ(At(Painted(), 15, 10), kBackdrop);
  EXPECT_EQ(reports.size(), 2u);
}

TEST_F(PictureControl, ClickNeedsPressAndReleaseOnTheControl) {
  QSignalSpy clicks(picture_, &app::TImage::Click);
  QTest::mouseClick(picture_, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseClick(picture_, Qt::RightButton);
  QTest::mousePress(picture_, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(picture_, Qt::LeftButton, {}, QPoint(200, 5));
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(PictureControl, KeepsThePressOfAClickFromItsParents) {
  class PressCounter : public QObject {
   public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      presses += event->type() == QEvent::MouseButtonPress;
      return false;
    }
  } counter;
  backdrop_.installEventFilter(&counter);
  QSignalSpy clicks(picture_, &app::TImage::Click);
  QTest::mouseClick(picture_, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(counter.presses, 0);
  QTest::mouseClick(picture_, Qt::RightButton);
  EXPECT_EQ(counter.presses, 1) << "other buttons go on to the parent as before";
}

}  // namespace
