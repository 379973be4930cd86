#pragma once

#include "game/code.h"

namespace game {

// Whether the choice tile standing for cell (r, c), counted from 1, completes the task with
// these digits. Applied as the rule says to any digits, valid code or not.
bool IsRightPick(const CodeDigits& digits, int r, int c);

// The choice tile (1 to 7, left to right) that completes the task; exactly one does for a valid
// code. 0 when none does.
int RightTile(const CodeDigits& digits);

}  // namespace game
