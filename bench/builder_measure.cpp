// One build of the task sequence, as the start-up screen runs it, over repeated builds.
//
//   dravel_bench builder [RUNS]
#include <vector>

#include "bench/driver.h"
#include "bench/figures.h"
#include "game/sequence_builder.h"

namespace bench {

void MeasureBuilder(const Options& options, CountingDialogs&) {
  const int runs = options.Count(0, 201);
  game::GameStatePtr state = game::NewGameState();
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    game::RandomGenerator random;
    times.push_back(CpuMillisecondsOf([&] { game::BuildTaskSequence(*state, random); }));
  }
  if (game::TaskAt(*state, 0) == 0) throw std::runtime_error("no sequence was built");
  PrintFigure(
      {"Builder: the task sequence, one build (CPU)", "ms", SpreadOf(times), "", std::nullopt, ""});
}

}  // namespace bench
