#include "game/turn_cells.h"

#include <gtest/gtest.h>

#include "game/game_error.h"

namespace {

using game::Cell;

TEST(TurnCells, PairsAddressOnlyTheTable) {
  game::ImageNameTable names;
  names[0][4] = "a";
  names[6][6] = "b";
  EXPECT_EQ(game::NameAt(names, game::CellOfPair(1, 5)), "a");
  EXPECT_EQ(game::NameAt(names, game::ChoiceCell(7)), "b");
  EXPECT_THROW(game::CellOfPair(0, 1), game::GameError);
  EXPECT_THROW(game::CellOfPair(1, 8), game::GameError);
  EXPECT_THROW(game::ChoiceCell(8), game::GameError);
}

TEST(TurnCells, TaskTilesShowTheCodesPairsInOrder) {
  const auto cells = game::TaskCells(game::SplitCodeDigits(152637));
  EXPECT_EQ(cells[0], (Cell{0, 4}));
  EXPECT_EQ(cells[1], (Cell{1, 5}));
  EXPECT_EQ(cells[2], (Cell{2, 6}));
  EXPECT_THROW(game::TaskCells(game::SplitCodeDigits(152638)), game::GameError);
  EXPECT_THROW(game::TaskCells(game::SplitCodeDigits(102637)), game::GameError);
}

}  // namespace
