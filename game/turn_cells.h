#pragma once

#include <array>
#include <string>

#include "game/code.h"
#include "game/game_state.h"

namespace game {

// A cell of the picture table, row and column counted from 0.
struct Cell {
  int row = 0;
  int column = 0;
  bool operator==(const Cell&) const = default;
};

inline constexpr int kChoiceTiles = kTableSize;
inline constexpr int kTaskTiles = 3;

// The cell of digit pair (p, q), both counted from 1. Throws GameError outside 1 to 7.
Cell CellOfPair(int p, int q);

// Choice tile `tile` (1 to 7, left to right) shows the diagonal cell (tile, tile).
Cell ChoiceCell(int tile);

// The task tiles, left to right, show the code's pairs (d1, d2), (d3, d4) and (d5, d6).
// Throws GameError when a digit is outside 1 to 7.
std::array<Cell, kTaskTiles> TaskCells(const CodeDigits& digits);

inline const std::string& NameAt(const ImageNameTable& names, Cell cell) {
  return names[cell.row][cell.column];
}

}  // namespace game
