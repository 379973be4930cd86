#include "game/column_mix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

void FillWithCellNames(game::ImageNameTable& names) {
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) names[r][c] = std::to_string(r) + "," + std::to_string(c);
}

TEST(ColumnMix, DrawsExactlyFourteenTimes) {
  game::ImageNameTable names;
  game::RandomGenerator random, expected;
  game::MixColumns(names, random);
  for (int i = 0; i < 14; ++i) expected.RandomBelow(7);
  EXPECT_EQ(random.State(), expected.State());
}

TEST(ColumnMix, PermutesEveryRowByTheSameColumnPermutation) {
  game::RandomGenerator random;
  bool some_turn_moved_a_column = false;
  for (int turn = 0; turn < 50; ++turn) {
    game::ImageNameTable names;
    FillWithCellNames(names);
    game::MixColumns(names, random);
    int column_from[7];
    for (int c = 0; c < 7; ++c) {
      column_from[c] = names[0][c].back() - '0';
      some_turn_moved_a_column |= column_from[c] != c;
    }
    for (int r = 0; r < 7; ++r) {
      for (int c = 0; c < 7; ++c) {
        ASSERT_EQ(names[r][c], std::to_string(r) + "," + std::to_string(column_from[c]))
            << "turn " << turn << " cell " << r << "," << c;
      }
    }
    std::sort(column_from, column_from + 7);
    for (int c = 0; c < 7; ++c) ASSERT_EQ(column_from[c], c) << "not a permutation";
  }
  EXPECT_TRUE(some_turn_moved_a_column);
}

TEST(ColumnMix, ExchangesColumnsDrawnFirstAThenB) {
  game::ImageNameTable names;
  FillWithCellNames(names);
  game::RandomGenerator random, replay;
  game::MixColumns(names, random);
  std::string order[7];
  for (int c = 0; c < 7; ++c) order[c] = std::to_string(c);
  for (int pass = 0; pass < 7; ++pass) {
    const int a = replay.RandomBelow(7);
    const int b = replay.RandomBelow(7);
    std::swap(order[a], order[b]);
  }
  for (int c = 0; c < 7; ++c) EXPECT_EQ(names[4][c], "4," + order[c]);
}

}  // namespace
