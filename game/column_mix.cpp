#include "game/column_mix.h"

#include <utility>

namespace game {

void MixColumns(ImageNameTable& names, RandomGenerator& random) {
  for (int pass = 0; pass < kTableSize; ++pass) {
    const int a = random.RandomBelow(kTableSize);
    const int b = random.RandomBelow(kTableSize);
    for (auto& row : names) std::swap(row[a], row[b]);
  }
}

}  // namespace game
