// The window's repaint after a click: what the event loop paints once the click's handler has
// returned, beside the window's picture controls repainted with every picture already decoded
// (what no repaint after a click can go below) and with every picture decoded afresh, as each
// click once made them. CPU time of the painting thread, so that other load barely moves it.
//
//   repaint_bench BASE_URL [RUNS [TURNS_PER_RUN]]
#include <QList>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "bench/run_options.h"

namespace {

constexpr int kWarmUpTurns = 10;

struct Samples {
  std::vector<double> repaint, decoded, afresh;
};

class RepaintBench {
 public:
  explicit RepaintBench(const std::string& base_url) : game_(base_url, dialogs_) {}

  void Run(int runs, int turns_per_run) {
    game_.Start();
    for (int turn = 0; turn < kWarmUpTurns; ++turn) PlayTurn(turn, nullptr);
    Samples medians;
    for (int run = 0; run < runs; ++run) {
      Samples samples;
      for (int turn = 0; turn < turns_per_run; ++turn) PlayTurn(turn, &samples);
      medians.repaint.push_back(bench::MedianOf(samples.repaint));
      medians.decoded.push_back(bench::MedianOf(samples.decoded));
      medians.afresh.push_back(bench::MedianOf(samples.afresh));
    }
    const auto ratios = [&](const std::vector<double>& baseline) {
      std::vector<double> all;
      for (std::size_t run = 0; run < baseline.size(); ++run)
        all.push_back(medians.repaint[run] / baseline[run]);
      return bench::MedianOf(all);
    };
    bench::PrintFigure({"Repaint: the window after a click (CPU)", "ms",
                        bench::SpreadOf(medians.repaint), "its pictures all decoded afresh",
                        bench::SpreadOf(medians.afresh), "ratio<=0.6", ratios(medians.afresh)});
    bench::PrintFigure({"Repaint: the window after a click (CPU)", "ms",
                        bench::SpreadOf(medians.repaint), "its pictures all already decoded",
                        bench::SpreadOf(medians.decoded), "", ratios(medians.decoded)});
    bench::PrintNote("repaint: " + std::to_string(runs) + " runs of " +
                     std::to_string(turns_per_run) +
                     " clicks in automatic fixed order, painted by the event loop");
  }

 private:
  // A click, right and wrong picks in turn, then the three repaints.
  void PlayTurn(int turn, Samples* samples) {
    const int right = game_.RightTile();
    game_.Click((turn / 2) % 2 == 0 ? right : right % 7 + 1);
    if (dialogs_.Shown() != 0) throw std::runtime_error("a turn went wrong");
    const double repaint = Paint();
    const QList<app::TImage*> images = game_.Form().findChildren<app::TImage*>();
    for (app::TImage* image : images) image->update();
    const double decoded = Paint();
    for (app::TImage* image : images) {
      const content::JpegPicture picture = image->Picture();
      image->SetPicture({});
      image->SetPicture(picture);
    }
    const double afresh = Paint();
    if (!samples) return;
    samples->repaint.push_back(repaint);
    samples->decoded.push_back(decoded);
    samples->afresh.push_back(afresh);
  }

  // What the event loop paints of what is due.
  static double Paint() {
    const double start = bench::ThreadCpuMilliseconds();
    bench::OffscreenGame::Paint();
    return bench::ThreadCpuMilliseconds() - start;
  }

  bench::CountingDialogs dialogs_;
  bench::OffscreenGame game_;
};

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenPlatform();
  bench::CountingDialogs application_dialogs;
  app::Application application(argc, argv, application_dialogs);
  bench::RunOptions options;
  if (!bench::ParseRunOptions(argc, argv, {11, 40}, options)) {
    std::fprintf(stderr, "usage: repaint_bench BASE_URL [RUNS [TURNS_PER_RUN]]\n");
    return 2;
  }
  try {
    RepaintBench(options.base_url).Run(options.counts[0], options.counts[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "repaint_bench: %s\n", error.what());
    return 1;
  }
  return application_dialogs.Shown() == 0 ? 0 : 1;
}
