#include "game/code.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/game_error.h"
#include "game/sequence_builder.h"
#include "valid_code.h"

namespace {

TEST(Code, ValidityRules) {
  EXPECT_TRUE(testoracle::IsValidCode(112345));
  EXPECT_TRUE(testoracle::IsValidCode(776543));
  EXPECT_TRUE(testoracle::IsValidCode(123456));   // six different digits
  EXPECT_FALSE(testoracle::IsValidCode(112233));  // three diagonal pairs
  EXPECT_FALSE(testoracle::IsValidCode(112234));  // two diagonal pairs
  EXPECT_FALSE(testoracle::IsValidCode(121345));  // the first two pairs share the digit 1
  EXPECT_FALSE(testoracle::IsValidCode(182345));  // 8 is no digit of a code
  EXPECT_FALSE(testoracle::IsValidCode(102345));
  EXPECT_FALSE(testoracle::IsValidCode(12345));
  EXPECT_FALSE(testoracle::IsValidCode(0));
  EXPECT_FALSE(testoracle::IsValidCode(-112345));
}

TEST(Code, ValidCodesSplitByTheirDiagonalPair) {
  int six_different = 0, diagonal_at[3] = {};
  for (int code = 111'111; code <= 777'777; ++code) {
    if (!testoracle::IsValidCode(code)) continue;
    const auto d = game::SplitCodeDigits(code);
    if (d[0] == d[1])
      ++diagonal_at[0];
    else if (d[2] == d[3])
      ++diagonal_at[1];
    else if (d[4] == d[5])
      ++diagonal_at[2];
    else
      ++six_different;
  }
  EXPECT_EQ(six_different, 5'040);
  for (const int count : diagonal_at) EXPECT_EQ(count, 2'520);
}

TEST(Code, PlaceInTheCodeTable) {
  auto state = game::NewGameState();
  game::FillCodeTable(*state);
  EXPECT_EQ(state->CodeTable[0][9][25], 112345);
  EXPECT_EQ(state->CodeTable[48][39][23], 776543);
  EXPECT_EQ(state->CodeTable[0][8][16], 0);  // 112233
}

TEST(Code, SplitsIntoSixDigits) {
  EXPECT_EQ(game::SplitCodeDigits(152637), (game::CodeDigits{1, 5, 2, 6, 3, 7}));
  // Digits outside 1 to 7 still split; only addressing a picture refuses them.
  EXPECT_EQ(game::SplitCodeDigits(908070), (game::CodeDigits{9, 0, 8, 0, 7, 0}));
}

TEST(Code, CodesWithoutSixDigitsDoNotSplit) {
  EXPECT_THROW(game::SplitCodeDigits(0), game::GameError);  // the entry after the last code
  EXPECT_THROW(game::SplitCodeDigits(12345), game::GameError);
  EXPECT_THROW(game::SplitCodeDigits(-12345), game::GameError);  // '-' is not a digit
}

}  // namespace
