// The main window's frame and control tree, before and after start-up.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <memory>
#include <vector>

#include "app/game.h"
#include "app/icons/qovex-dravel.xpm"
#include "recording_dialogs.h"

namespace {

int StackIndex(const QWidget* widget) {
  return static_cast<int>(widget->parentWidget()->children().indexOf(widget));
}

QPoint InWindow(const QWidget* widget) { return widget->mapTo(widget->window(), QPoint(0, 0)); }

class WindowLayout : public testing::Test {
 protected:
  RecordingDialogs dialogs_;
  game::RandomGenerator random_;
  // Nothing listens on port 1 of the loopback: every fetch fails at once.
  std::unique_ptr<app::Game> game_ =
      std::make_unique<app::Game>("http://127.0.0.1:1/uploads/all/dravel/1/", "127.0.0.1",
                                  content::HttpLimits{}, dialogs_, random_);
  app::TForm1* form_ = &game_->Window();
};

TEST_F(WindowLayout, FixedWindowWithMinimiseAndCloseOnly) {
  EXPECT_EQ(form_->size(), QSize(756, 367));
  EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
  const Qt::WindowFlags flags = form_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form_->windowTitle(), "Qovex Dravel");
  EXPECT_EQ(form_->font().pixelSize(), 11);
  const QImage icon = form_->windowIcon().pixmap(QSize(48, 48)).toImage();
  EXPECT_EQ(icon.size(), QSize(48, 48));
  EXPECT_EQ(icon, QImage(qovex_dravel_icon).convertToFormat(icon.format()));
}

TEST_F(WindowLayout, TilesSitWhereThePlayerLooks) {
  const app::TImage* choices[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                  form_->Image5, form_->Image29, form_->Image28};
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(InWindow(choices[k]), QPoint(14 + 88 * k, 271)) << "choice tile " << k;
    EXPECT_EQ(choices[k]->size(), QSize(80, 80));
    EXPECT_EQ(choices[k]->parentWidget(), form_->GroupBox8);
  }
  EXPECT_EQ(InWindow(form_->Image6), QPoint(19, 62));
  EXPECT_EQ(InWindow(form_->Image7), QPoint(203, 62));
  EXPECT_EQ(InWindow(form_->Image25), QPoint(386, 62));
  for (const app::TImage* tile : {form_->Image6, form_->Image7, form_->Image25}) {
    EXPECT_EQ(tile->size(), QSize(180, 180));
    EXPECT_EQ(tile->cursor().shape(), Qt::WhatsThisCursor);
  }
  EXPECT_EQ(form_->Image8->geometry(), QRect(4, 16, 161, 172));
  EXPECT_EQ(form_->Image11->geometry(), QRect(48, 112, 73, 49));
  EXPECT_EQ(form_->SpeedButton1->geometry(), QRect(624, 16, 113, 25));
  EXPECT_EQ(form_->Button1->geometry(), QRect(624, 72, 113, 25));
}

TEST_F(WindowLayout, CursorsOverTheChoices) {
  EXPECT_EQ(form_->GroupBox8->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form_->Image1->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form_->SpeedButton2->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form_->Button1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowLayout, StackingHidesWhatLiesUnderneath) {
  // "Last Task:" lies exactly under the opaque "New Task:" group.
  EXPECT_EQ(form_->GroupBox7->geometry(), form_->GroupBox9->geometry());
  EXPECT_GT(StackIndex(form_->GroupBox9), StackIndex(form_->GroupBox7));
  EXPECT_TRUE(form_->GroupBox9->autoFillBackground());
  // The wrong-answer picture lies under the right-answer picture.
  EXPECT_GT(StackIndex(form_->Image8), StackIndex(form_->Image11));
  EXPECT_TRUE(form_->Image8->geometry().contains(form_->Image11->geometry()));
  // The four pictures on the window itself lie under the group that fills it.
  for (const QObject* child : form_->children()) {
    if (const auto* picture = qobject_cast<const app::TImage*>(child)) {
      EXPECT_LT(StackIndex(picture), StackIndex(form_->GroupBox4));
      EXPECT_EQ(picture->cursor().shape(), Qt::WhatsThisCursor);
    }
  }
  EXPECT_EQ(form_->GroupBox4->geometry(), QRect(0, 0, 756, 367));
}

TEST_F(WindowLayout, StateHoldersAreHiddenAndDisabled) {
  for (const QWidget* holder :
       std::vector<const QWidget*>{form_->CheckBox1, form_->CheckBox2, form_->Button2}) {
    EXPECT_TRUE(holder->isHidden()) << holder->objectName().toStdString();
    EXPECT_FALSE(holder->isEnabled()) << holder->objectName().toStdString();
  }
  EXPECT_EQ(form_->GroupBox5->height(), 1);
  EXPECT_EQ(form_->Button2->text(), "GO!");
  EXPECT_EQ(form_->findChild<QLabel*>("Label1")->text(), "Result:");
}

TEST_F(WindowLayout, ModesStartAsDesigned) {
  EXPECT_TRUE(form_->CheckBox2->isChecked());
  EXPECT_FALSE(form_->CheckBox1->isChecked());
  EXPECT_FALSE(form_->Button1->isEnabled());
  EXPECT_TRUE(form_->SpeedButton2->isEnabled());
  EXPECT_EQ(form_->SpeedButton1->focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowLayout, GameStateStartsEmpty) {
  EXPECT_EQ(form_->State.CodeCount, 0);
  EXPECT_EQ(form_->State.TaskIndex, 0);
  EXPECT_EQ(form_->State.TaskSequence[0][1], 0);
  EXPECT_TRUE(form_->State.ImageNames[6][6].empty());
}

TEST(ErrorBoxText, AddsAFullStopAfterLettersAndDigits) {
  EXPECT_EQ(app::ErrorBoxText("Disk full"), "Disk full.");
  EXPECT_EQ(app::ErrorBoxText("code 404"), "code 404.");
  EXPECT_EQ(app::ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(app::ErrorBoxText("(see log)"), "(see log)");
  EXPECT_EQ(app::ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(app::ErrorBoxText("a/"), "a/.");  // '/' comes after '.'
  EXPECT_EQ(app::ErrorBoxText("a,"), "a,");
  EXPECT_EQ(app::ErrorBoxText(""), "");
}

}  // namespace
