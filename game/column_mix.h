#pragma once

#include "game/game_state.h"
#include "game/random_generator.h"

namespace game {

// Mixed order: seven exchanges of two columns, drawn A then B, applied to every row alike.
// Exactly 14 draws.
void MixColumns(ImageNameTable& names, RandomGenerator& random);

}  // namespace game
