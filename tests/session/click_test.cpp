// A click on a choice tile: the verdict, the "Last Task:" record, and what a failure leaves.
#include <algorithm>
#include <string>
#include <vector>

#include "session_fixture.h"

namespace {

using session::ChoiceSlot;
using session::ClickOutcome;
using session::Slot;
using testsupport::ServedPack;

class Click : public SessionTest {
 protected:
  bool ShowsRight() const {
    return session_.Shown().result_visible && !session_.Shown().wrong_visible;
  }
  bool ShowsWrong() const {
    return session_.Shown().wrong_visible && !session_.Shown().result_visible;
  }
};

TEST_F(Click, JudgesEveryTileOfTheExamplesAgainstTheTaskOnShow) {
  const struct {
    int code;
    std::vector<int> right_tiles;
  } examples[] = {
      {331245, {3}},        // a diagonal pair (3, 3)
      {123456, {7}},        // no diagonal pair: 7 is the missing digit
      {712345, {6}},        // no diagonal pair: 6 is the missing digit
      {121314, {5, 6, 7}},  // not a valid code: the same rule all the same
      {112233, {1, 2, 3}},
  };
  for (const auto& [code, right] : examples) {
    PlantCurrentCode(code);
    for (int k = 1; k <= 7; ++k) {
      pack_.server.ClearRequests();
      ASSERT_EQ(session_.Click(k), ClickOutcome::kJudged);
      const bool expected_right = std::find(right.begin(), right.end(), k) != right.end();
      EXPECT_EQ(ShowsRight(), expected_right) << code << " tile " << k;
      EXPECT_EQ(ShowsWrong(), !expected_right) << code << " tile " << k;
      const std::string verdict = expected_right ? "ok.jpg" : "no.jpg";
      EXPECT_EQ(Shown(expected_right ? Slot::kResult : Slot::kWrong), verdict);
      EXPECT_EQ(Shown(Slot::kPick), ServedPack::CellName(k - 1, k - 1));
      EXPECT_EQ(pack_.Requested(),
                (std::vector<std::string>{verdict, ServedPack::CellName(k - 1, k - 1)}));
    }
  }
  EXPECT_EQ(State().TaskIndex, 1) << "a click plays no turn of its own";
}

TEST_F(Click, CopiesTheJudgedTaskIntoTheLastTaskGroup) {
  ASSERT_EQ(session_.Click(1), ClickOutcome::kJudged);
  for (int tile = 1; tile <= 3; ++tile) {
    EXPECT_EQ(Shown(session::LastTaskSlot(tile)), Shown(session::TaskSlot(tile)));
  }
  for (int tile = 1; tile <= 7; ++tile) {
    EXPECT_EQ(Shown(session::LastChoiceSlot(tile)), ServedPack::CellName(tile - 1, tile - 1));
  }
}

TEST_F(Click, AZeroCodeChangesNothingButTheJudgedIndex) {
  PlantCurrentCode(0);
  State().JudgedTaskIndex = -5;
  EXPECT_EQ(session_.Click(2), ClickOutcome::kStopped);
  EXPECT_EQ(State().JudgedTaskIndex, State().TaskIndex);
  EXPECT_TRUE(pack_.Requested().empty());
  EXPECT_EQ(Shown(Slot::kResult), "reading.jpg");
  EXPECT_TRUE(session_.Shown().result_visible && session_.Shown().wrong_visible);
}

TEST_F(Click, AMissingVerdictPictureChangesNothing) {
  PlantCurrentCode(331245);
  pack_.Remove("ok.jpg");
  EXPECT_EQ(session_.Click(3), ClickOutcome::kStopped);
  EXPECT_EQ(pack_.Requested(), std::vector<std::string>{"ok.jpg"});
  EXPECT_TRUE(session_.Shown().result_visible && session_.Shown().wrong_visible);
  EXPECT_EQ(Shown(Slot::kResult), "reading.jpg");
  EXPECT_EQ(Shown(session::LastTaskSlot(1)), "");
}

TEST_F(Click, AMissingPickedPictureKeepsTheVerdictOnly) {
  PlantCurrentCode(331245);
  pack_.Remove(ServedPack::CellName(0, 0));
  EXPECT_EQ(session_.Click(1), ClickOutcome::kStopped);
  EXPECT_TRUE(ShowsWrong());
  EXPECT_EQ(Shown(Slot::kPick), "");
  EXPECT_EQ(Shown(session::LastChoiceSlot(1)), "");
  EXPECT_EQ(pack_.Requested(), (std::vector<std::string>{"no.jpg", ServedPack::CellName(0, 0)}));
}

TEST_F(Click, AfterATurnGaveUpOnlyAutomaticSteppingAsksForTheTurnAgain) {
  pack_.Remove("shemoftask.txt");
  ASSERT_FALSE(session_.PlayTurn());
  pack_.server.ClearRequests();
  EXPECT_EQ(session_.Click(1), ClickOutcome::kTurnAgain);
  EXPECT_TRUE(pack_.Requested().empty());
  session_.SetAutomaticStepping(false);
  PlantCurrentCode(123456);
  EXPECT_EQ(session_.Click(7), ClickOutcome::kJudged) << "\"Start->Next\" is there for the turn";
}

TEST_F(Click, TheOrderModeDoesNotChangeTheVerdict) {
  session_.SetMixedOrder(true);
  ASSERT_TRUE(session_.PlayTurn());
  PlantCurrentCode(712345);
  ASSERT_EQ(session_.Click(6), ClickOutcome::kJudged);
  EXPECT_TRUE(ShowsRight());
  EXPECT_EQ(Shown(Slot::kPick), State().ImageNames[5][5]);
}

}  // namespace
