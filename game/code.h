#pragma once

#include <array>
#include <string>

#include "game/game_state.h"

namespace game {

// A code's six digits d1 ... d6, d1 the most significant.
using CodeDigits = std::array<int, 6>;

// The digits of the code's decimal text, its first six characters. Throws GameError when the
// text is shorter than six characters or one of them is not a decimal digit (the code 0).
CodeDigits SplitCodeDigits(int code);

}  // namespace game
