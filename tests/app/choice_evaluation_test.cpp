// A click on a choice tile: the verdict, the "Last Task:" record, the next turn.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "game/code.h"
#include "game/judge.h"
#include "served_window.h"

namespace {

class ChoiceEvaluation : public ServedWindow {
 protected:
  std::vector<app::TImage*> Tiles() const {
    return {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
            form_->Image5, form_->Image29, form_->Image28};
  }
  void StartInHandStepping() {
    StartAndClearRequests();
    QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);
  }
  void ClickTile(int k) { QTest::mouseClick(Tiles()[k - 1], Qt::LeftButton); }
  bool ShowsRight() const { return form_->Image8->isVisible() && form_->Image11->isHidden(); }
  bool ShowsWrong() const { return form_->Image11->isVisible() && form_->Image8->isHidden(); }
};

TEST_F(ChoiceEvaluation, AutomaticSteppingPlaysTheNextTaskInsideTheClick) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  const auto d = game::SplitCodeDigits(game::TaskAt(form_->State, index));
  const std::string task_tiles[] = {Shown(form_->Image6), Shown(form_->Image7),
                                    Shown(form_->Image25)};
  PlantNextCode(152637);
  ClickTile(1);
  const auto requested = Requested();
  ASSERT_EQ(requested.size(), 13u);
  EXPECT_EQ(requested[0], game::IsRightPick(d, 1, 1) ? "ok.jpg" : "no.jpg");
  EXPECT_EQ(requested[1], CellName(0, 0));
  EXPECT_EQ(requested[2], "shemoftask.txt");
  EXPECT_EQ(form_->State.JudgedTaskIndex, index);
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  // "Last Task:" holds the judged task, the new task is on show.
  EXPECT_EQ(Shown(form_->Image16), task_tiles[0]);
  EXPECT_EQ(Shown(form_->Image17), task_tiles[1]);
  EXPECT_EQ(Shown(form_->Image32), task_tiles[2]);
  EXPECT_EQ(Shown(form_->Image31), CellName(6, 6));
  EXPECT_EQ(Shown(form_->Image6), CellName(0, 4));
  EXPECT_FALSE(form_->GroupBox7->isVisible() && form_->GroupBox9->isHidden());
}

TEST_F(ChoiceEvaluation, AfterATurnGaveUpTheNextClickPlaysTheTurnAgain) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  server_.ServeBytes("shemoftask.txt", "");  // every name empty: nothing to fetch
  form_->Button3Click(form_);
  ASSERT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  server_.ServeBytes("shemoftask.txt", SchemeText());
  server_.ClearRequests();
  ClickTile(1);
  EXPECT_EQ(Requested().front(), "shemoftask.txt") << "no verdict for a task not on show";
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(Shown(form_->Image1), CellName(0, 0));
  server_.ClearRequests();
  ClickTile(1);
  EXPECT_NE(Requested().front(), "shemoftask.txt") << "judged again once a turn has played";
  EXPECT_EQ(form_->State.TaskIndex, index + 2);
}

TEST_F(ChoiceEvaluation, AfterATurnGaveUpHandSteppingStillJudges) {
  StartInHandStepping();
  Remove("shemoftask.txt");
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  ASSERT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  server_.ClearRequests();
  PlantCurrentCode(123456);
  ClickTile(7);
  EXPECT_TRUE(ShowsRight()) << "\"Start->Next\" is there to try the turn again";
  EXPECT_EQ(Requested(), (std::vector<std::string>{"ok.jpg", CellName(6, 6)}));
}

TEST_F(ChoiceEvaluation, InHandSteppingEachClickShowsItsVerdictAndTheTaskStays) {
  StartInHandStepping();
  PlantCurrentCode(123456);
  ClickTile(1);
  EXPECT_TRUE(ShowsWrong());
  EXPECT_EQ(Shown(form_->Image11), "no.jpg");
  EXPECT_EQ(Shown(form_->Image9), CellName(0, 0));
  EXPECT_EQ(form_->Image11->accessibleName(), "Result: wrong") << "a screen reader learns it";
  ClickTile(7);
  ClickTile(7);
  EXPECT_TRUE(ShowsRight());
  EXPECT_EQ(Shown(form_->Image8), "ok.jpg");
  EXPECT_EQ(form_->Image8->accessibleName(), "Result: right");
  EXPECT_EQ(Requested(), (std::vector<std::string>{"no.jpg", CellName(0, 0), "ok.jpg",
                                                   CellName(6, 6), "ok.jpg", CellName(6, 6)}));
  EXPECT_EQ(form_->State.TaskIndex, 1);
}

TEST_F(ChoiceEvaluation, ClicksOnTheResultAndRecordPicturesDoNothing) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  for (app::TImage* picture : {form_->Image8, form_->Image9, form_->Image10, form_->Image11}) {
    QTest::mouseClick(picture, Qt::LeftButton);
  }
  EXPECT_TRUE(Requested().empty());
  EXPECT_EQ(form_->State.TaskIndex, index);
  EXPECT_EQ(form_->State.JudgedTaskIndex, 0);
}

}  // namespace
