// The hourglass shows for the whole screen while a handler fetches, and never stays behind.
#include "app/screen_cursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>
#include <QToolButton>
#include <atomic>

#include "served_window.h"

namespace {

// Each request is looked at while the window waits for its answer, blocked in the fetch.
class ScreenCursorDuringHandlers : public ServedWindow {
 protected:
  ScreenCursorDuringHandlers() {
    server_.SetRequestObserver([this](const testsupport::RecordedRequest&) {
      const QCursor* cursor = QGuiApplication::overrideCursor();
      (cursor && cursor->shape() == Qt::WaitCursor ? busy_ : idle_)++;
    });
  }
  ~ScreenCursorDuringHandlers() override { server_.SetRequestObserver(nullptr); }

  static bool NoOverride() { return QGuiApplication::overrideCursor() == nullptr; }

  std::atomic<int> busy_{0}, idle_{0};
};

TEST_F(ScreenCursorDuringHandlers, TurnShowsTheHourglassUntilItEnds) {
  StartAndClearRequests();
  busy_ = idle_ = 0;
  form_->Button3Click(form_);
  EXPECT_EQ(busy_, 11);
  EXPECT_EQ(idle_, 0);
  EXPECT_TRUE(NoOverride());
}

TEST_F(ScreenCursorDuringHandlers, NestedTurnLeavesNoBusyCursorBehind) {
  StartAndClearRequests();
  busy_ = idle_ = 0;
  QTest::mouseClick(form_->Image2, Qt::LeftButton);  // the verdict, then the next turn inside
  EXPECT_EQ(busy_, 13);
  EXPECT_EQ(idle_, 0);
  EXPECT_TRUE(NoOverride());
}

TEST_F(ScreenCursorDuringHandlers, FailedTurnRestoresTheCursorBeforeTellingThePlayer) {
  StartAndClearRequests();
  server_.Stop();
  bool busy_while_told = true;
  dialogs_.on_show = [&] { busy_while_told = !NoOverride(); };
  form_->Button3Click(form_);
  ASSERT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  EXPECT_FALSE(busy_while_told);
  EXPECT_TRUE(NoOverride());
}

// Start-up runs before the window is on the screen, where the program may not even have an
// application yet to set a cursor with: it sets none.
TEST_F(ScreenCursorDuringHandlers, StartUpSetsNoCursor) {
  StartAndClearRequests();
  EXPECT_EQ(idle_, 12) << "reading.jpg and the first turn";
  EXPECT_EQ(busy_, 0);
  EXPECT_TRUE(NoOverride());
}

TEST_F(ScreenCursorDuringHandlers, FailedChoiceRestoresTheCursor) {
  StartAndClearRequests();
  busy_ = idle_ = 0;
  Remove("ok.jpg");
  Remove("no.jpg");
  QTest::mouseClick(form_->Image5, Qt::LeftButton);
  EXPECT_EQ(busy_, 1);
  EXPECT_TRUE(NoOverride());
}

TEST(ScreenCursor, SettingsReplaceEachOther) {
  app::SetScreenCursor(app::ScreenCursor::Hourglass);
  app::SetScreenCursor(app::ScreenCursor::Hourglass);
  app::SetScreenCursor(app::ScreenCursor::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  app::SetScreenCursor(app::ScreenCursor::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
