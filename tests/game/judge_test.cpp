#include "game/judge.h"

#include <gtest/gtest.h>

#include <vector>

#include "valid_code.h"

namespace {

// The tiles 1 to 7 that IsRightPick accepts for a code.
std::vector<int> RightTiles(int code) {
  const auto digits = game::SplitCodeDigits(code);
  std::vector<int> right;
  for (int k = 1; k <= 7; ++k) {
    if (game::IsRightPick(digits, k, k)) right.push_back(k);
  }
  return right;
}

TEST(Judge, DiagonalPairIsAnsweredByItsOwnPicture) {
  EXPECT_EQ(RightTiles(331245), std::vector<int>{3});
  EXPECT_EQ(RightTiles(451233), std::vector<int>{3});  // the diagonal pair may be any pair
}

TEST(Judge, WithoutDiagonalPairTheMissingDigitIsRight) {
  EXPECT_EQ(RightTiles(123456), std::vector<int>{7});
  EXPECT_EQ(RightTiles(712345), std::vector<int>{6});
}

TEST(Judge, InvalidCodesFollowTheSameRule) {
  EXPECT_EQ(RightTiles(121314), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(RightTiles(112233), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(RightTiles(127766), (std::vector<int>{6, 7}));
}

TEST(Judge, OffDiagonalCellsAreJudgedByTheirPair) {
  const auto digits = game::SplitCodeDigits(331245);
  EXPECT_TRUE(game::IsRightPick(digits, 1, 2));
  EXPECT_FALSE(game::IsRightPick(digits, 2, 1));
}

TEST(Judge, EveryValidCodeHasExactlyOneRightTile) {
  int codes = 0;
  for (int code = 111'111; code <= 777'777; ++code) {
    if (!testoracle::IsValidCode(code)) continue;
    ++codes;
    ASSERT_EQ(RightTiles(code), std::vector<int>{game::RightTile(game::SplitCodeDigits(code))})
        << code;
  }
  EXPECT_EQ(codes, 12'600);
  EXPECT_EQ(game::RightTile(game::SplitCodeDigits(121314)), 5) << "the first of several";
  EXPECT_EQ(game::RightTile(game::CodeDigits{9, 9, 9, 9, 9, 9}), 0);
}

}  // namespace
