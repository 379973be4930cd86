// Errors that no handler catches go to the application's error box; the program goes on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <stdexcept>

#include "served_window.h"
#include "tests/support/captured_log.h"
#include "tests/support/jpeg_maker.h"

namespace {

class Throwing : public QObject {
 public:
  explicit Throwing(bool standard) : standard_(standard) {}
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    if (standard_) throw std::runtime_error("Disk full");
    throw 42;
  }

 private:
  bool standard_;
};

TEST(UncaughtErrors, EscapingAnEventShowTheErrorBox) {
  auto& boxes = ApplicationDialogs().error_boxes;
  boxes.clear();
  Throwing standard(true), other(false);
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&standard, &event);
  QCoreApplication::sendEvent(&other, &event);
  EXPECT_EQ(boxes, (std::vector<QString>{"Disk full.", ""}));
  QCoreApplication::sendEvent(&standard, &event);
  EXPECT_EQ(boxes.size(), 3u) << "the application goes on after each";
}

using DamagedPicture = ServedWindow;

TEST_F(DamagedPicture, ShowsOneErrorBoxAndWritesALineAndTheWindowGoesOn) {
  testsupport::JpegOptions options;
  options.width = options.height = 64;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = true;
  pack_.Serve(CellName(0, 0), testsupport::WithBadLaterScan(testsupport::MakeJpeg(options)));
  StartAndClearRequests();

  testsupport::CapturedLog log;
  form_->grab();
  QCoreApplication::processEvents();
  form_->grab();
  QCoreApplication::processEvents();
  const std::vector<std::string> lines = log.Of("dravel.picture");
  ASSERT_EQ(lines.size(), 1u) << "once per picture, however often it is painted";
  EXPECT_TRUE(lines[0].starts_with(server_.BaseUrl() + CellName(0, 0) +
                                   " cannot be painted in Image1: damaged JPEG data: "))
      << lines[0];
  ASSERT_EQ(dialogs_.error_boxes.size(), 1u);
  EXPECT_TRUE(dialogs_.error_boxes[0].endsWith('.') || dialogs_.error_boxes[0].endsWith(')'))
      << dialogs_.error_boxes[0].toStdString();
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty()) << "the header was fine: the fetch passed";

  form_->Button3Click(form_);  // the next turn fetches the picture again
  form_->grab();
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs_.error_boxes.size(), 2u) << "once per picture";
  EXPECT_TRUE(form_->isVisible());
}

// A picture cut at 60% of its bytes, as an interrupted upload leaves it, on a choice tile: its
// first part shows, the log names it once however often it is fetched and painted, no box.
TEST_F(DamagedPicture, ATruncatedPictureShowsItsFirstPartOnceLoggedAndNoBox) {
  testsupport::JpegOptions options;
  options.width = options.height = 180;
  options.pattern = testsupport::JpegPattern::kTexture;
  const testsupport::Rgb first = testsupport::PatternColor(options, 90, 4);
  const std::string whole = testsupport::MakeJpeg(options);
  pack_.Serve(CellName(0, 0), testsupport::Truncated(whole, whole.size() * 6 / 10));
  testsupport::CapturedLog log;
  StartAndClearRequests();
  for (int turn = 0; turn < 3; ++turn) {
    const QImage tile = form_->Image1->grab().toImage();
    QCoreApplication::processEvents();
    const QRgb top = tile.pixel(tile.width() / 2, 2);
    EXPECT_NEAR(qRed(top), first.r, 48) << "the first part shows";
    EXPECT_NEAR(qGreen(top), first.g, 48);
    EXPECT_NEAR(qBlue(top), first.b, 48);
    const QRgb bottom = tile.pixel(tile.width() / 2, tile.height() - 2);
    EXPECT_NEAR(qRed(bottom), 128, 8) << "libjpeg's grey fill below it";
    EXPECT_NEAR(qGreen(bottom), 128, 8);
    EXPECT_NEAR(qBlue(bottom), 128, 8);
    form_->Button3Click(form_);
  }
  const std::vector<std::string> lines = log.Of("dravel.picture");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], server_.BaseUrl() + CellName(0, 0) +
                          " is damaged, shown as far as it decodes in Image1: Premature end of "
                          "JPEG file");
  EXPECT_TRUE(dialogs_.error_boxes.empty());
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

}  // namespace
