// A whole game played by clicks: every task, the wrap-around and a little more, every third
// pick wrong, each click followed by the event loop's paint, every turn checked. Whether the
// game slows down as it is played is told by the instructions a turn takes, which callgrind
// counts for a sample of turns near the start and at the end (other load cannot move them):
//
//   valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=FILE
//     dravel_bench soak BASE_URL FILE
//
// FILE.1 and FILE.2 then hold the samples' counts; without valgrind only they are missing.
// Wall times per turn and the heap in use are given beside.
#include <malloc.h>
#include <valgrind/callgrind.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/driver.h"
#include "bench/figures.h"

namespace bench {
namespace {

constexpr int kSample = 200;       // turns per sample
constexpr int kFirstSample = 200;  // past the warm-up of caches and connections
constexpr int kTurnsPastTheEnd = 100;
constexpr double kMiB = 1024.0 * 1024.0;

// Allocations in use, mapped ones included (the game state is one).
double HeapMiB() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / kMiB;
}

// The instructions callgrind counted since the last dump, read from the dump it writes now.
double DumpedInstructions(const std::string& out_file, int dump) {
  CALLGRIND_DUMP_STATS;
  const std::string path = out_file + "." + std::to_string(dump);
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("summary: ") || line.starts_with("totals: ")) {
      return std::stod(line.substr(line.find(' ') + 1));
    }
  }
  throw std::runtime_error("no instruction count in " + path);
}

class Soak {
 public:
  Soak(const std::string& base_url, std::string callgrind_out, CountingDialogs& dialogs)
      : game_(base_url, dialogs), callgrind_out_(std::move(callgrind_out)) {}

  void Run() {
    game_.Start();
    const int code_count = game_.Form().State.CodeCount;
    const int turns = code_count + kTurnsPastTheEnd;
    std::vector<int> played(code_count, 0);  // per task position, over the first round
    std::vector<double> turn_ms;
    turn_ms.reserve(turns);
    const double heap_start = HeapMiB();
    for (int turn = 0; turn < turns; ++turn) {
      const bool sampled =
          (turn >= kFirstSample && turn < kFirstSample + kSample) || turn >= turns - kSample;
      if (sampled && !counting_) StartCounting();
      if (!sampled && counting_) StopCounting();
      const Pick pick = game_.PickFor(turn);
      turn_ms.push_back(WallMillisecondsOf([&] {
        game_.Click(pick.tile);
        OffscreenGame::Paint();
      }));
      game_.ExpectPlayed(pick);
      if (turn < code_count) ++played[game_.Form().State.TaskIndex];
    }
    if (counting_) StopCounting();
    const double heap_end = HeapMiB();
    for (std::size_t position = 0; position < played.size(); ++position) {
      if (played[position] != 1) {
        throw std::runtime_error("task " + std::to_string(position) + " was played " +
                                 std::to_string(played[position]) + " times in one round");
      }
    }
    Report(turns, turn_ms, heap_start, heap_end);
  }

 private:
  void StartCounting() {
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    counting_ = true;
  }

  void StopCounting() {
    if (RUNNING_ON_VALGRIND) {
      samples_.push_back(DumpedInstructions(callgrind_out_, ++dumps_) / kSample);
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    counting_ = false;
  }

  void Report(int turns, const std::vector<double>& turn_ms, double heap_start,
              double heap_end) const {
    const std::string early = "turns " + std::to_string(kFirstSample) + "-" +
                              std::to_string(kFirstSample + kSample) + " of the game";
    const std::string last = "last " + std::to_string(kSample);
    if (samples_.size() == 2) {
      PrintFigure({"Soak: instructions per turn, " + last + " (callgrind)", "Minstr",
                   Single(samples_[1] / 1e6), early, Single(samples_[0] / 1e6), "ratio<=1.05"});
    } else {
      PrintNote("soak: instructions not counted: run it under callgrind");
    }
    // Beside the samples, where callgrind only runs the program and counts nothing.
    const auto window = [&](int from) {
      return SpreadOf({turn_ms.begin() + from, turn_ms.begin() + from + kSample});
    };
    PrintFigure({std::string("Soak: median turn with paint, the 200 before the last") +
                     (RUNNING_ON_VALGRIND ? " (wall, under valgrind)" : " (wall)"),
                 "ms", window(turns - 2 * kSample), "the 200 after the first sample",
                 window(kFirstSample + kSample), ""});
    PrintFigure({"Soak: heap in use at the end", "MiB", Single(heap_end), "after start-up",
                 Single(heap_start), "growth<16"});
    PrintFigure({"Soak: Memo4 log at the end", "MiB", Single(game_.Form().Memo4.Bytes() / kMiB), "",
                 std::nullopt, ""});
    PrintNote("soak: " + std::to_string(turns) +
              " turns, every task once and past the wrap-around, every third pick wrong");
  }

  OffscreenGame game_;
  std::string callgrind_out_;
  std::vector<double> samples_;  // instructions per turn, per sample
  int dumps_ = 0;
  bool counting_ = false;
};

}  // namespace

void MeasureSoak(const Options& options, CountingDialogs& dialogs) {
  if (RUNNING_ON_VALGRIND && !options.Has(1))
    throw UsageError("callgrind's output file is missing");
  Soak(options.Url(0), options.Has(1) ? options.Word(1) : "", dialogs).Run();
}

}  // namespace bench
