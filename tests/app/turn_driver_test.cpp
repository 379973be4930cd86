// One turn: the scheme, the choices, the next code and its task tiles; failed attempts.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <set>
#include <vector>

#include "game/code.h"
#include "served_window.h"

namespace {

using TurnDriver = ServedWindow;

TEST_F(TurnDriver, HandSteppingShowsTheReadingPictureFirst) {
  StartAndClearRequests();
  form_->Image8->SetPicture({});
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);
  QTest::mouseClick(form_->Button1, Qt::LeftButton);
  const std::vector<std::string> requested = Requested();
  ASSERT_EQ(requested.size(), 12u);
  EXPECT_EQ(requested[0], "reading.jpg");
  EXPECT_EQ(requested[1], "shemoftask.txt");
  EXPECT_EQ(Shown(form_->Image8), "reading.jpg");
  EXPECT_EQ(form_->State.TaskIndex, 2);
}

TEST_F(TurnDriver, AutomaticSteppingPutsTheTaskUpAndLeavesTheResultPictureAlone) {
  StartAndClearRequests();
  PlantNextCode(152637);
  form_->Button3Click(form_);
  const std::vector<std::string> requested = Requested();
  ASSERT_EQ(requested.size(), 11u);
  EXPECT_EQ(requested[0], "shemoftask.txt");
  EXPECT_EQ(requested[1], CellName(0, 0));
  EXPECT_EQ(requested[7], CellName(6, 6));
  EXPECT_EQ(Shown(form_->Image8), "reading.jpg");
  EXPECT_EQ(Shown(form_->Image6), CellName(0, 4));
  EXPECT_EQ(Shown(form_->Image7), CellName(1, 5));
  EXPECT_EQ(Shown(form_->Image25), CellName(2, 6));
  const app::TImage* choices[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                  form_->Image5, form_->Image29, form_->Image28};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(Shown(choices[k]), CellName(k, k));
  // A screen reader tells the tiles apart by their pictures' names.
  EXPECT_EQ(form_->Image29->accessibleName(), "cell-5-5");
  EXPECT_EQ(form_->Image6->accessibleName(), "cell-0-4");
  EXPECT_EQ(form_->Image8->accessibleName(), "Result");
  EXPECT_EQ(form_->Image11->accessibleName(), "") << "empty, under the big one";
}

TEST_F(TurnDriver, AttemptsAreBoundedAndTheGameRecovers) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  Remove(CellName(3, 3));  // every attempt fails at the fourth choice tile
  form_->Button3Click(form_);
  EXPECT_EQ(dialogs_.no_data_dialogs,
            std::vector<QString>{"Hello! No data from 127.0.0.1! Be connected!"});
  EXPECT_TRUE(form_->isVisible()) << "the window stays";
  EXPECT_EQ(form_->State.TaskIndex, index) << "no attempt got as far as the next code";
  EXPECT_EQ(form_->Memo4.LineCount(), 49u * (1 + 3));
  int scheme_requests = 0;
  for (const auto& name : Requested()) scheme_requests += name == "shemoftask.txt";
  EXPECT_EQ(scheme_requests, 3) << "a turn tries three times";

  ServeJpeg(CellName(3, 3), 33);
  form_->Button3Click(form_);
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(Shown(form_->Image4), CellName(3, 3));
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

TEST_F(TurnDriver, ServerGoneThenBack) {
  StartAndClearRequests();
  server_.Stop();
  form_->Button3Click(form_);
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  server_.Start();
  const int index = form_->State.TaskIndex;
  form_->Button3Click(form_);
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

TEST_F(TurnDriver, ChangesNoControlsState) {
  StartAndClearRequests();
  form_->Button3Click(form_);
  EXPECT_FALSE(form_->Button1->isEnabled());
  EXPECT_TRUE(form_->Image8->isVisible());
  EXPECT_TRUE(form_->Image11->isVisible());
  EXPECT_TRUE(form_->SpeedButton2->isEnabled());
}

}  // namespace
