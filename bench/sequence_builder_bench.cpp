// One build of the task sequence, as the start-up screen runs it.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/sequence_builder.h"

namespace {

void BuildTaskSequence(benchmark::State& bench) {
  auto state = game::NewGameState();
  for (auto _ : bench) {
    game::RandomGenerator random;
    game::BuildTaskSequence(*state, random);
    benchmark::DoNotOptimize(state->TaskSequence[0][0]);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BuildTaskSequence)->Unit(benchmark::kMicrosecond);

}  // namespace
