// The step switch and the order switch, clicked as the player clicks them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/game.h"
#include "recording_dialogs.h"

namespace {

class ModeSwitches : public testing::Test {
 protected:
  void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

  RecordingDialogs dialogs_;
  game::RandomGenerator random_;
  std::unique_ptr<app::Game> game_ =
      std::make_unique<app::Game>("http://127.0.0.1:1/uploads/all/dravel/1/", "127.0.0.1",
                                  content::HttpLimits{}, dialogs_, random_);
  app::TForm1* form_ = &game_->Window();
};

TEST_F(ModeSwitches, StepSwitchTogglesHandSteppingAndTheButtonsItGoverns) {
  Click(form_->SpeedButton1);
  EXPECT_FALSE(form_->CheckBox2->isChecked());
  EXPECT_EQ(form_->SpeedButton1->text(), "AutoStep");
  EXPECT_TRUE(form_->Button1->isEnabled());
  EXPECT_FALSE(form_->SpeedButton2->isEnabled());

  Click(form_->SpeedButton1);
  EXPECT_TRUE(form_->CheckBox2->isChecked());
  EXPECT_EQ(form_->SpeedButton1->text(), "HandStep") << "not the start caption again";
  EXPECT_FALSE(form_->Button1->isEnabled());
  EXPECT_TRUE(form_->SpeedButton2->isEnabled());
}

TEST_F(ModeSwitches, OrderSwitchNamesTheModeItsNextClickSelects) {
  EXPECT_EQ(form_->SpeedButton2->text(), "Fixed/Mixed");
  Click(form_->SpeedButton2);
  EXPECT_TRUE(form_->CheckBox1->isChecked());
  EXPECT_EQ(form_->SpeedButton2->text(), "Fixed");
  Click(form_->SpeedButton2);
  EXPECT_FALSE(form_->CheckBox1->isChecked());
  EXPECT_EQ(form_->SpeedButton2->text(), "Mixed");
}

TEST_F(ModeSwitches, OrderSwitchIsDeadInHandStepping) {
  Click(form_->SpeedButton2);  // mixed order
  Click(form_->SpeedButton1);  // hand stepping
  Click(form_->SpeedButton2);
  EXPECT_TRUE(form_->CheckBox1->isChecked()) << "the order mode keeps its value";
  EXPECT_EQ(form_->SpeedButton2->text(), "Fixed");
}

TEST_F(ModeSwitches, SwitchesPlayNothingAndFetchNothing) {
  Click(form_->SpeedButton1);
  Click(form_->SpeedButton1);
  Click(form_->SpeedButton2);
  EXPECT_EQ(form_->State.TaskIndex, 0);
  EXPECT_TRUE(form_->Image1->Picture().Empty());
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

}  // namespace
