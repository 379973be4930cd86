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
  pack_.Serve(CellName(0, 0), testsupport::WithCorruptEntropyData(testsupport::MakeJpeg(options)));
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

}  // namespace
