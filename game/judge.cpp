#include "game/judge.h"

namespace game {

bool IsRightPick(const CodeDigits& d, int r, int c) {
  const bool has_diagonal = d[0] == d[1] || d[2] == d[3] || d[4] == d[5];
  if (has_diagonal) {
    return (d[0] == r && d[1] == c) || (d[2] == r && d[3] == c) || (d[4] == r && d[5] == c);
  }
  for (const int digit : d) {
    if (digit == r || digit == c) return false;
  }
  return true;
}

int RightTile(const CodeDigits& digits) {
  for (int tile = 1; tile <= kTableSize; ++tile) {
    if (IsRightPick(digits, tile, tile)) return tile;
  }
  return 0;
}

}  // namespace game
