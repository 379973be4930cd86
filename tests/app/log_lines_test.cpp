// The window's log: a whole game that goes well writes nothing at all; a start without a
// server says why in one line.
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "served_window.h"
#include "tests/support/captured_log.h"

namespace {

using WindowLog = ServedWindow;

TEST_F(WindowLog, AGameThatGoesWellWritesNothing) {
  testsupport::CapturedLog log;
  Start();
  ASSERT_TRUE(form_->isVisible());
  for (app::TImage* tile : {form_->Image1, form_->Image5}) {
    QTest::mouseClick(tile, Qt::LeftButton);
    form_->grab();  // paints every picture, as the screen would
  }
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);
  QTest::mouseClick(form_->SpeedButton2, Qt::LeftButton);
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  form_->grab();
  EXPECT_EQ(log.Game(), std::vector<std::string>{});
}

TEST_F(WindowLog, AStartWithoutAServerSaysItWasRefused) {
  server_.Stop();
  testsupport::CapturedLog log;
  Start();
  ASSERT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  const std::vector<std::string> lines = log.Game();
  ASSERT_EQ(lines.size(), 1u) << "the start stops at its first request";
  EXPECT_TRUE(lines[0].starts_with("dravel.http: GET " + server_.BaseUrl() + "reading.jpg failed"))
      << lines[0];
  EXPECT_TRUE(lines[0].ends_with(" ms: no connection: Connection refused")) << lines[0];
}

}  // namespace
