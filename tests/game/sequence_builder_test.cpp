#include "game/sequence_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

#include "game/code.h"
#include "sequence_digest.h"
#include "valid_code.h"

namespace {

class SequenceBuilder : public testing::Test {
 protected:
  game::GameStatePtr state_ = game::NewGameState();
  game::RandomGenerator random_;
};

TEST_F(SequenceBuilder, StateStartsZeroFilled) {
  EXPECT_EQ(state_->CodeCount, 0);
  EXPECT_EQ(state_->TaskIndex, 0);
  EXPECT_EQ(state_->JudgedTaskIndex, 0);
  EXPECT_EQ(state_->CodeList[game::kCodeListCapacity - 1], 0);
  for (int i = 0; i < game::kSequenceCapacity; ++i) ASSERT_EQ(game::TaskAt(*state_, i), 0);
  EXPECT_TRUE(state_->ImageNames[3][5].empty());
}

TEST_F(SequenceBuilder, CollectsTheValidCodesInAscendingOrder) {
  game::FillCodeTable(*state_);
  game::CollectCodes(*state_);
  ASSERT_EQ(state_->CodeCount, 12'600);
  const int* list = state_->CodeList;
  EXPECT_EQ(list[0], 112345);
  EXPECT_EQ(list[1], 112346);
  EXPECT_EQ(list[2], 112347);
  EXPECT_EQ(list[3], 112354);
  EXPECT_EQ(list[4], 112356);
  EXPECT_EQ(list[12'597], 776541);
  EXPECT_EQ(list[12'598], 776542);
  EXPECT_EQ(list[12'599], 776543);
  for (int i = 1; i < 12'600; ++i) ASSERT_LT(list[i - 1], list[i]);
  for (int i = 0; i < 12'600; ++i) ASSERT_TRUE(testoracle::IsValidCode(list[i])) << list[i];
}

TEST_F(SequenceBuilder, SequenceHoldsEveryValidCodeOnce) {
  state_->TaskIndex = 77;
  game::BuildTaskSequence(*state_, random_);
  EXPECT_EQ(state_->CodeCount, 12'600);
  EXPECT_EQ(state_->TaskIndex, 0);
  std::set<int> seen;
  for (int i = 0; i < 12'600; ++i) {
    const int code = game::TaskAt(*state_, i);
    ASSERT_TRUE(testoracle::IsValidCode(code)) << "entry " << i << " holds " << code;
    ASSERT_TRUE(seen.insert(code).second) << "code " << code << " appears twice";
  }
  for (int i = 12'600; i < game::kSequenceCapacity; ++i) ASSERT_EQ(game::TaskAt(*state_, i), 0);
  // 12,600 codes run from the first row of 9,600 into the second.
  EXPECT_NE(state_->TaskSequence[1][2'999], 0);
  EXPECT_EQ(state_->TaskSequence[1][3'000], 0);
}

TEST_F(SequenceBuilder, ExactlyTheValidCellsOfTheCodeTableAreSet) {
  game::BuildTaskSequence(*state_, random_);
  int non_zero = 0;
  for (const auto& plane : state_->CodeTable)
    for (const auto& row : plane)
      for (const int cell : row) non_zero += cell != 0;
  EXPECT_EQ(non_zero, 12'600);
}

TEST_F(SequenceBuilder, ShuffleDrawsOncePerCode) {
  game::BuildTaskSequence(*state_, random_);
  game::RandomGenerator expected;
  for (int i = 0; i < 12'600; ++i) expected.RandomBelow(12'600);
  EXPECT_EQ(random_.State(), expected.State());
}

TEST_F(SequenceBuilder, TaskOrderIsFixed) {
  game::BuildTaskSequence(*state_, random_);
  // The order every run plays, worked out independently of this code. A change here changes
  // the game for every player.
  const int expected[] = {654217, 123375, 574416, 452263, 214735, 532271};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(game::TaskAt(*state_, i), expected[i]) << "entry " << i;
  EXPECT_EQ(game::TaskAt(*state_, 9'599), 421753);
  EXPECT_EQ(game::TaskAt(*state_, 9'600), 663527);
  EXPECT_EQ(game::TaskAt(*state_, 12'599), 152473);
}

TEST_F(SequenceBuilder, RebuildingGivesTheSameSequenceFromTheSameSeed) {
  game::BuildTaskSequence(*state_, random_);
  const auto first = SequenceDigest(*state_);
  auto other = game::NewGameState();
  game::RandomGenerator fresh;
  game::BuildTaskSequence(*other, fresh);
  EXPECT_EQ(SequenceDigest(*other), first);
}

std::string RunDigestProcess() {
  FILE* pipe = popen(SEQUENCE_DIGEST_EXE, "r");
  if (!pipe) return "popen failed";
  char buffer[64] = {};
  const bool read = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
  const int status = pclose(pipe);
  return read && status == 0 ? std::string(buffer) : "digest process failed";
}

TEST_F(SequenceBuilder, TwoProgramRunsBuildTheSameSequence) {
  game::BuildTaskSequence(*state_, random_);
  const std::string expected = std::to_string(SequenceDigest(*state_)) + "\n";
  EXPECT_EQ(RunDigestProcess(), expected);
  EXPECT_EQ(RunDigestProcess(), expected);
}

TEST(NextTaskIndex, AdvancesAndWrapsAfterTheLastCode) {
  EXPECT_EQ(game::NextTaskIndex(0, 12'600), 1);
  EXPECT_EQ(game::NextTaskIndex(12'598, 12'600), 12'599);
  EXPECT_EQ(game::NextTaskIndex(12'599, 12'600), 0);
  EXPECT_EQ(game::NextTaskIndex(INT_MAX, 12'600), 0);
  EXPECT_THROW(game::NextTaskIndex(0, 0), std::logic_error);
}

TEST(TaskAt, RefusesPositionsOutsideTheSequence) {
  auto state = game::NewGameState();
  state->TaskSequence[23][9'599] = 42;
  EXPECT_EQ(game::TaskAt(*state, game::kSequenceCapacity - 1), 42);
  EXPECT_THROW(game::TaskAt(*state, game::kSequenceCapacity), std::out_of_range);
  EXPECT_THROW(game::TaskAt(*state, -1), std::out_of_range);
}

}  // namespace
