#include "game/random_generator.h"

namespace game {

int RandomGenerator::RandomBelow(int n) {
  if (n <= 0) return 0;
  state_ = state_ * kMultiplier + 1;  // modulo 2^64 by unsigned wrap-around
  const auto drawn = static_cast<int>((state_ >> 32) & 0x7FFF'FFFF);
  return drawn % n;
}

}  // namespace game
