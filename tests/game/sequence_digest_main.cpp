// Builds the task sequence in a fresh process and prints its digest.
#include <cstdio>
#include <memory>

#include "game/sequence_builder.h"
#include "sequence_digest.h"

int main() {
  auto state = game::NewGameState();
  game::RandomGenerator random;
  game::BuildTaskSequence(*state, random);
  std::printf("%llu\n", static_cast<unsigned long long>(SequenceDigest(*state)));
  return 0;
}
