// A whole game played by clicks: every task of the sequence, the wrap-around to its first
// entry and a little more, right and wrong picks, each click followed by the paint the event
// loop would do. It checks every turn as it goes and measures whether the game slows down or
// grows as it is played: its last 500 turns beside turns 500 to 1,000 of a second, fresh game
// (past that game's own warm-up), memory at start and end.
//
//   soak_run BASE_URL [TURNS]     (default: the whole sequence and 100 turns more)
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "bench/run_options.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWindow = 500;  // turns compared: the end, and a fresh game past its warm-up
constexpr int kTurnsPastTheEnd = 100;
constexpr double kMiB = 1024.0 * 1024.0;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

struct TurnTime {
  double wall_ms;
  double cpu_ms;
};

class Soak {
 public:
  explicit Soak(const std::string& base_url) : game_(base_url, dialogs_) {}

  // A fresh game's turns 500 to 1,000, the yardstick for the end of the long one.
  void PlayReference(std::vector<double>& turn_ms, std::vector<double>& cpu_ms) {
    game_.Start();
    const int code_count = game_.Form().State.CodeCount;
    played_.assign(code_count, 0);
    for (int turn = 0; turn < 2 * kWindow; ++turn) {
      const TurnTime took = PlayTurn(turn, code_count);
      bench::OffscreenGame::Paint();
      if (turn < kWindow) continue;
      turn_ms.push_back(took.wall_ms);
      cpu_ms.push_back(took.cpu_ms);
    }
  }

  // `turns` 0 plays the whole sequence and past its end.
  void Run(int turns, const std::vector<double>& reference_ms,
           const std::vector<double>& reference_cpu_ms) {
    game_.Start();
    const app::TForm1& form = game_.Form();
    const int code_count = form.State.CodeCount;
    if (turns == 0) turns = code_count + kTurnsPastTheEnd;
    if (turns < 2 * kWindow) throw std::invalid_argument("a soak needs at least 1000 turns");
    played_.assign(code_count, 0);

    const std::size_t rss_start = bench::ResidentBytes();
    const std::size_t memo_start = form.Memo4.Bytes();
    std::vector<double> turn_ms;
    std::vector<double> cpu_ms;
    turn_ms.reserve(turns);
    cpu_ms.reserve(turns);
    const Clock::time_point start = Clock::now();
    for (int turn = 0; turn < turns; ++turn) {
      const TurnTime took = PlayTurn(turn, code_count);
      turn_ms.push_back(took.wall_ms);
      cpu_ms.push_back(took.cpu_ms);
      bench::OffscreenGame::Paint();
    }
    const double seconds = Milliseconds(Clock::now() - start) / 1000;
    const std::size_t rss_end = bench::ResidentBytes();
    const std::size_t memo_end = form.Memo4.Bytes();
    if (turns >= code_count) CheckEveryTaskPlayedOnce();

    const auto one = [](double value) { return bench::Spread{value, value, value}; };
    const auto mib = [&one](std::size_t bytes) { return one(bytes / kMiB); };
    const auto last = [](const std::vector<double>& all) {
      return std::vector<double>(all.end() - kWindow, all.end());
    };
    bench::PrintFigure({"Soak: turns per second, whole game with paint", "turns/s",
                        one(turns / seconds), "", std::nullopt, ""});
    const std::string fresh = "a fresh game's turns 500-1,000";
    bench::PrintFigure({"Soak: median turn, last 500 (min, max of the 500)", "ms",
                        bench::SpreadOf(last(turn_ms)), fresh, bench::SpreadOf(reference_ms),
                        "ratio<=1.1"});
    bench::PrintFigure({"Soak: 99th percentile turn, last 500", "ms",
                        one(bench::PercentileOf(last(turn_ms), 0.99)), fresh,
                        one(bench::PercentileOf(reference_ms, 0.99)), "ratio<=1.1"});
    bench::PrintFigure({"Soak: median CPU time of a turn, last 500", "ms",
                        bench::SpreadOf(last(cpu_ms)), fresh, bench::SpreadOf(reference_cpu_ms),
                        "ratio<=1.1"});
    bench::PrintFigure({"Soak: resident memory at the end", "MiB", mib(rss_end), "at the start",
                        mib(rss_start), "growth<16"});
    bench::PrintFigure({"Soak: Memo4 log at the end", "MiB", mib(memo_end), "", std::nullopt, ""});
    char note[320];
    std::snprintf(note, sizeof note,
                  "soak: %d turns in %.1f s%s, every third pick wrong; memory grew %.2f MiB, of "
                  "which Memo4 %.2f MiB (%zu lines)",
                  turns, seconds,
                  turns >= code_count ? ", every task once and past the wrap-around" : "",
                  (double(rss_end) - double(rss_start)) / kMiB,
                  (double(memo_end) - double(memo_start)) / kMiB, form.Memo4.LineCount());
    bench::PrintNote(note);
  }

 private:
  // Every third pick is wrong. Returns the click's times; throws when the turn went wrong.
  TurnTime PlayTurn(int turn, int code_count) {
    app::TForm1& form = game_.Form();
    const int right = game_.RightTile();
    const bool pick_right = turn % 3 != 2;
    const int tile = pick_right ? right : right % 7 + 1;
    const int next_task = game_.NextTaskIndex();
    const Clock::time_point start = Clock::now();
    const double cpu_start = bench::ThreadCpuMilliseconds();
    game_.Click(tile);
    const TurnTime took{Milliseconds(Clock::now() - start),
                        bench::ThreadCpuMilliseconds() - cpu_start};

    const bool shows_right = !form.Image8->isHidden() && form.Image11->isHidden();
    const bool shows_wrong = form.Image8->isHidden() && !form.Image11->isHidden();
    if (form.State.TaskIndex != next_task || dialogs_.Shown() != 0 ||
        (pick_right ? !shows_right : !shows_wrong)) {
      throw std::runtime_error("turn " + std::to_string(turn) + " went wrong at task " +
                               std::to_string(next_task) + " " + dialogs_.LastText().toStdString());
    }
    if (turn < code_count) ++played_[form.State.TaskIndex];
    return took;
  }

  void CheckEveryTaskPlayedOnce() const {
    for (std::size_t position = 0; position < played_.size(); ++position) {
      if (played_[position] != 1) {
        throw std::runtime_error("task " + std::to_string(position) + " was played " +
                                 std::to_string(played_[position]) + " times in one round");
      }
    }
  }

  bench::CountingDialogs dialogs_;
  bench::OffscreenGame game_;
  std::vector<int> played_;  // per task position, over the first round of turns
};

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenPlatform();
  bench::CountingDialogs application_dialogs;
  app::Application application(argc, argv, application_dialogs);
  bench::RunOptions options;
  if (!bench::ParseRunOptions(argc, argv, {1'000'000}, options)) {
    std::fprintf(stderr, "usage: soak_run BASE_URL [TURNS]\n");
    return 2;
  }
  try {
    std::vector<double> reference_ms;
    std::vector<double> reference_cpu_ms;
    Soak(options.base_url).PlayReference(reference_ms, reference_cpu_ms);
    Soak(options.base_url).Run(argc > 2 ? options.counts[0] : 0, reference_ms, reference_cpu_ms);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "soak_run: %s\n", error.what());
    return 1;
  }
  return application_dialogs.Shown() == 0 ? 0 : 1;
}
