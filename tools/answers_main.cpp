// dravel-answers [COUNT]: the right choice tile of the first COUNT tasks the game plays.
// One line a task: its position in the task sequence, its code and the tile (1 to 7, left to
// right) that the game judges right. The order mode changes the pictures, never the tile.
#include <charconv>
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>

#include "game/code.h"
#include "game/game_state.h"
#include "game/judge.h"
#include "game/random_generator.h"
#include "game/sequence_builder.h"

namespace {

constexpr int kDefaultCount = 10;
constexpr int kMaxCount = 1'000'000;

bool ParseCount(std::string_view text, int& count) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  return error == std::errc() && end == text.data() + text.size() && count >= 1 &&
         count <= kMaxCount;
}

}  // namespace

int main(int argc, char** argv) {
  int count = kDefaultCount;
  if (argc > 2 || (argc == 2 && !ParseCount(argv[1], count))) {
    std::fprintf(stderr,
                 "usage: dravel-answers [COUNT]\n"
                 "Prints \"position code tile\" for the first COUNT tasks (1 to %d, default %d).\n",
                 kMaxCount, kDefaultCount);
    return 2;
  }
  try {
    auto state = game::NewGameState();
    game::RandomGenerator random;
    game::BuildTaskSequence(*state, random);
    int position = state->TaskIndex;
    for (int turn = 0; turn < count; ++turn) {
      position = game::NextTaskIndex(position, state->CodeCount);
      const int code = game::TaskAt(*state, position);
      std::printf("%d %d %d\n", position, code, game::RightTile(game::SplitCodeDigits(code)));
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dravel-answers: %s\n", error.what());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
