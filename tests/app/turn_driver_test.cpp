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

TEST_F(TurnDriver, AutomaticSteppingLeavesTheResultPictureAlone) {
  StartAndClearRequests();
  form_->Image8->SetPicture({});
  form_->Button3Click(form_.get());
  const std::vector<std::string> requested = Requested();
  ASSERT_EQ(requested.size(), 11u);
  EXPECT_EQ(requested[0], "shemoftask.txt");
  EXPECT_EQ(requested[1], CellName(0, 0));
  EXPECT_EQ(requested[7], CellName(6, 6));
  EXPECT_TRUE(form_->Image8->Picture().Empty());
}

TEST_F(TurnDriver, FixedOrderUsesTheSchemeAsItIsAndDrawsNothing) {
  StartAndClearRequests();
  const auto before = random_.State();
  form_->Button3Click(form_.get());
  EXPECT_EQ(random_.State(), before);
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) EXPECT_EQ(form_->State.ImageNames[r][c], CellName(r, c));
  EXPECT_EQ(form_->Memo3.Text(), SchemeText());
}

TEST_F(TurnDriver, MixedOrderPermutesTheColumnsOfEveryRowAlike) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton2, Qt::LeftButton);
  bool moved = false;
  for (int turn = 0; turn < 5; ++turn) {
    game::RandomGenerator expected = random_;
    for (int i = 0; i < 14; ++i) expected.RandomBelow(7);
    form_->Button3Click(form_.get());
    EXPECT_EQ(random_.State(), expected.State()) << "exactly 14 draws";

    std::set<int> columns;
    for (int c = 0; c < 7; ++c) {
      const std::string& top = form_->State.ImageNames[0][c];
      const int from = top[top.size() - 5] - '0';  // "cell-0-<from>.jpg"
      columns.insert(from);
      moved |= from != c;
      for (int r = 0; r < 7; ++r) EXPECT_EQ(form_->State.ImageNames[r][c], CellName(r, from));
    }
    EXPECT_EQ(columns.size(), 7u);
    for (int k = 0; k < 7; ++k) {
      const app::TImage* tiles[] = {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
                                    form_->Image5, form_->Image29, form_->Image28};
      EXPECT_EQ(Shown(tiles[k]), form_->State.ImageNames[k][k]);
    }
  }
  EXPECT_TRUE(moved);
}

TEST_F(TurnDriver, TaskTilesShowTheCellsTheDigitPairsName) {
  StartAndClearRequests();
  PlantNextCode(152637);
  form_->Button3Click(form_.get());
  EXPECT_EQ(Shown(form_->Image6), CellName(0, 4));
  EXPECT_EQ(Shown(form_->Image7), CellName(1, 5));
  EXPECT_EQ(Shown(form_->Image25), CellName(2, 6));
  EXPECT_EQ(Shown(form_->Image3), CellName(2, 2)) << "the choices show the diagonal";
}

TEST_F(TurnDriver, EveryAttemptLogsTheNamesOfItsTurn) {
  StartAndClearRequests();
  const std::size_t lines = form_->Memo4.LineCount();
  EXPECT_EQ(lines, 49u);
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->Memo4.LineCount(), 98u);
  EXPECT_EQ(form_->Memo4.Lines()[49], CellName(0, 0));
}

TEST_F(TurnDriver, FailingTaskTilesSkipTheTask) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  PlantNextCode(152637);
  Remove(CellName(0, 4));  // the first task tile of that code only
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.TaskIndex, index + 2) << "the failed task is skipped";
  EXPECT_EQ(form_->Memo4.LineCount(), 49u * 3) << "49 names per attempt, failed ones too";
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty()) << "the second attempt succeeded";
}

TEST_F(TurnDriver, AttemptsAreBoundedAndTheGameRecovers) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  Remove(CellName(3, 3));  // every attempt fails at the fourth choice tile
  form_->Button3Click(form_.get());
  EXPECT_EQ(dialogs_.no_data_dialogs,
            std::vector<QString>{"Hello! No data from 127.0.0.1! Be connected!"});
  EXPECT_TRUE(form_->isVisible()) << "the window stays";
  EXPECT_EQ(form_->State.TaskIndex, index) << "no attempt got as far as the next code";
  EXPECT_EQ(form_->Memo4.LineCount(), 49u * (1 + app::TForm1::kTurnAttempts));
  int scheme_requests = 0;
  for (const auto& name : Requested()) scheme_requests += name == "shemoftask.txt";
  EXPECT_EQ(scheme_requests, app::TForm1::kTurnAttempts);

  ServeJpeg(CellName(3, 3), 33);
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(Shown(form_->Image4), CellName(3, 3));
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

TEST_F(TurnDriver, ServerGoneThenBack) {
  StartAndClearRequests();
  server_.Stop();
  form_->Button3Click(form_.get());
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
  server_.Start();
  const int index = form_->State.TaskIndex;
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

TEST_F(TurnDriver, StartsTheSequenceAgainWhenTheCodesAreUsedUp) {
  StartAndClearRequests();
  form_->State.TaskIndex = form_->State.CodeCount - 1;
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.TaskIndex, 0);
  const auto d = game::SplitCodeDigits(game::TaskAt(form_->State, 0));
  EXPECT_EQ(Shown(form_->Image6), CellName(d[0] - 1, d[1] - 1));
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

TEST_F(TurnDriver, DigitsOutsideTheTableFailTheAttempt) {
  StartAndClearRequests();
  const int index = form_->State.TaskIndex;
  PlantNextCode(182345);
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.TaskIndex, index + 2);
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());
}

TEST_F(TurnDriver, SchemeLengthDecidesWhatIsShown) {
  StartAndClearRequests();
  std::string long_scheme = SchemeText();
  for (int i = 0; i < 11; ++i) long_scheme += "extra-" + std::to_string(i) + ".jpg\r\n";
  server_.ServeBytes("shemoftask.txt", long_scheme);
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.ImageNames[6][6], CellName(6, 6)) << "lines after 49 are ignored";
  EXPECT_TRUE(dialogs_.no_data_dialogs.empty());

  const std::string scheme = SchemeText();
  server_.ServeBytes("shemoftask.txt", scheme.substr(0, scheme.size() - CellName(6, 6).size() - 2));
  form_->Button3Click(form_.get());
  EXPECT_EQ(form_->State.ImageNames[6][6], "");
  EXPECT_EQ(Requested().back(), "") << "an empty cell requests the bare folder";
  EXPECT_EQ(dialogs_.no_data_dialogs.size(), 1u);
}

TEST_F(TurnDriver, ChangesNoControlsState) {
  StartAndClearRequests();
  form_->Button3Click(form_.get());
  EXPECT_FALSE(form_->Button1->isEnabled());
  EXPECT_TRUE(form_->Image8->isVisible());
  EXPECT_TRUE(form_->Image11->isVisible());
  EXPECT_TRUE(form_->SpeedButton2->isEnabled());
}

}  // namespace
