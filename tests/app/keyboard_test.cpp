// The game played from the keyboard alone: keys go to the window as the window system gives
// them, and reach its controls through the focus.
#include <QApplication>
#include <QFocusFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "app/switch_keys.h"
#include "game/code.h"
#include "game/judge.h"
#include "served_window.h"

namespace {

class Keyboard : public ServedWindow {
 protected:
  std::vector<app::TImage*> Tiles() const {
    return {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
            form_->Image5, form_->Image29, form_->Image28};
  }
  void StartActive() {
    StartAndClearRequests();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_));
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->windowHandle(), key, modifiers);
  }
  void Keys(std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys) Key(key);
  }
  QWidget* Focus() const { return QApplication::focusWidget(); }
  // The tile that is right for the task on show, 1 to 7.
  int RightTile() const {
    const auto digits = game::SplitCodeDigits(game::TaskAt(form_->State, form_->State.TaskIndex));
    for (int k = 1; k <= 7; ++k) {
      if (game::IsRightPick(digits, k, k)) return k;
    }
    return 0;
  }
  bool ShowsRight() const { return form_->Image8->isVisible() && form_->Image11->isHidden(); }
};

TEST_F(Keyboard, TheFocusStartsOnTheFirstTileAndTabGoesAlongTheTilesThenToStartNext) {
  StartActive();
  EXPECT_EQ(Focus(), form_->Image1);
  for (app::TImage* tile : Tiles()) {
    EXPECT_EQ(Focus(), tile);
    Key(Qt::Key_Tab);
  }
  EXPECT_EQ(Focus(), form_->Image1) << "\"Start->Next\" is disabled: round to the first tile";
  Key(Qt::Key_S, Qt::AltModifier);  // hand stepping
  EXPECT_EQ(Focus(), form_->Image1) << "the switch takes no focus";
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focus(), form_->Button1);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focus(), form_->Image28);
  EXPECT_EQ(form_->SpeedButton1->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(form_->SpeedButton2->focusPolicy(), Qt::NoFocus);
}

TEST_F(Keyboard, ArrowsHomeAndEndMoveAlongTheRowAndTheFrameFollowsOutsideThePicture) {
  StartActive();
  const QImage before = form_->GroupBox8->grab().toImage();
  Key(Qt::Key_Right);
  EXPECT_EQ(Focus(), form_->Image2);
  Keys({Qt::Key_Left, Qt::Key_Left, Qt::Key_Up});
  EXPECT_EQ(Focus(), form_->Image1) << "the row has ends";
  Key(Qt::Key_End);
  EXPECT_EQ(Focus(), form_->Image28);
  Keys({Qt::Key_Right, Qt::Key_Down});
  EXPECT_EQ(Focus(), form_->Image28);
  Key(Qt::Key_Home);
  Key(Qt::Key_Down);
  ASSERT_EQ(Focus(), form_->Image2);

  const auto* frame = form_->GroupBox8->findChild<QFocusFrame*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->widget(), form_->Image2);
  const QImage after = form_->GroupBox8->grab().toImage();
  const QRect tile = form_->Image2->geometry();
  const qreal ratio = after.devicePixelRatio();
  const auto at = [ratio](const QImage& image, int x, int y) {
    return image.pixelColor(qRound(x * ratio), qRound(y * ratio));
  };
  const QColor highlight = form_->palette().color(QPalette::Highlight);
  for (const QPoint& outside :
       {QPoint(tile.left() - 1, tile.center().y()), QPoint(tile.right() + 1, tile.center().y()),
        QPoint(tile.center().x(), tile.top() - 1), QPoint(tile.center().x(), tile.bottom() + 1)}) {
    EXPECT_EQ(at(after, outside.x(), outside.y()), highlight) << "the frame shows around it";
    EXPECT_NE(at(before, outside.x(), outside.y()), highlight);
  }
  for (int y = tile.top(); y <= tile.bottom(); y += 3) {
    for (int x = tile.left(); x <= tile.right(); x += 3) {
      ASSERT_EQ(at(after, x, y), at(before, x, y)) << "the picture is whole, at " << x << "," << y;
    }
  }
}

TEST_F(Keyboard, SpaceAndReturnPressTheFocusedTileAsAClickDoesAndAHeldKeyPressesOnce) {
  StartActive();
  Key(Qt::Key_S, Qt::AltModifier);  // hand stepping: no turn after the verdict
  PlantCurrentCode(123456);         // tile 7 is right
  Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Space});
  EXPECT_EQ(Requested(), (std::vector<std::string>{"no.jpg", CellName(2, 2)}));
  server_.ClearRequests();
  Key(Qt::Key_End);
  Key(Qt::Key_Return);
  Key(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Requested(),
            (std::vector<std::string>{"ok.jpg", CellName(6, 6), "ok.jpg", CellName(6, 6)}));
  EXPECT_TRUE(ShowsRight());
  server_.ClearRequests();
  QTest::keyPress(form_->windowHandle(), Qt::Key_Space);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
  QApplication::sendEvent(form_->Image28, &repeat);
  QApplication::sendEvent(form_->Image28, &repeat);
  QTest::keyRelease(form_->windowHandle(), Qt::Key_Space);
  EXPECT_EQ(Requested().size(), 2u) << "one press for a key held down";
  server_.ClearRequests();
  Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_TRUE(Requested().empty()) << "Ctrl+Space is no press";
}

TEST_F(Keyboard, TheSwitchKeysPressTheSwitchesAndKeepTheirCaptions) {
  StartActive();
  Key(Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(form_->SpeedButton2->text(), "Fixed");
  EXPECT_TRUE(form_->Session().MixedOrder());
  Key(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(form_->SpeedButton1->text(), "AutoStep");
  EXPECT_TRUE(form_->Button1->isEnabled());
  Key(Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(form_->Session().MixedOrder()) << "the order switch is disabled in hand stepping";
  Key(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(form_->SpeedButton1->text(), "HandStep");
  EXPECT_EQ(Focus(), form_->Image1);
  EXPECT_TRUE(Requested().empty());
  EXPECT_EQ(app::SwitchKeys::kStep.key(), Qt::Key_S);
}

// Ten right answers in a row with keys only: Home, then Right to the right tile, then Space;
// in hand stepping Tab on to "Start->Next", Space for the next task and Tab back to the tiles.
class KeyboardGame : public Keyboard, public testing::WithParamInterface<bool> {};

TEST_P(KeyboardGame, TenAnswersWithKeysOnly) {
  const bool hand_stepping = GetParam();
  StartActive();
  if (hand_stepping) Key(Qt::Key_S, Qt::AltModifier);
  for (int answer = 0; answer < 10; ++answer) {
    const int index = form_->State.TaskIndex;
    const int right = RightTile();
    ASSERT_GE(right, 1);
    if (Focus() == form_->Button1) Key(Qt::Key_Tab);  // round to the first tile
    Key(Qt::Key_Home);
    for (int k = 1; k < right; ++k) Key(Qt::Key_Right);
    ASSERT_EQ(Focus(), Tiles()[right - 1]);
    Key(Qt::Key_Space);
    EXPECT_TRUE(ShowsRight()) << "answer " << answer;
    EXPECT_EQ(form_->State.JudgedTaskIndex, index);
    if (hand_stepping) {
      EXPECT_EQ(form_->State.TaskIndex, index) << "the task stays until \"Start->Next\"";
      Key(Qt::Key_End);
      Key(Qt::Key_Tab);
      ASSERT_EQ(Focus(), form_->Button1);
      Key(Qt::Key_Space);
      EXPECT_EQ(Shown(form_->Image8), "reading.jpg");
    }
    EXPECT_EQ(form_->State.TaskIndex, index + 1) << "answer " << answer;
  }
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(StepModes, KeyboardGame, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "HandStepping" : "AutomaticStepping";
                         });

}  // namespace
