#include "game/turn_cells.h"

#include <string>

#include "game/game_error.h"

namespace game {

Cell CellOfPair(int p, int q) {
  if (p < 1 || p > kTableSize || q < 1 || q > kTableSize) {
    throw GameError("the digit pair (" + std::to_string(p) + ", " + std::to_string(q) +
                    ") names no picture");
  }
  return {p - 1, q - 1};
}

Cell ChoiceCell(int tile) { return CellOfPair(tile, tile); }

std::array<Cell, kTaskTiles> TaskCells(const CodeDigits& d) {
  return {CellOfPair(d[0], d[1]), CellOfPair(d[2], d[3]), CellOfPair(d[4], d[5])};
}

}  // namespace game
