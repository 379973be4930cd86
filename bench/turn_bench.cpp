// The cost of a turn and of painting it, each beside its yardstick measured in the same run:
// a click on a choice tile in automatic stepping, until the next task's pictures are assigned,
// beside bare libcurl fetching the same 13 addresses on one open connection; the paint of the
// turn's ten tiles from their JPEG data beside Qt's own scaled JPEG read and beside a full-size
// decode, in CPU time.
//
//   turn_bench BASE_URL [RUNS [TURNS_PER_RUN]]
//
// BASE_URL is the game's folder on a running content server. Every figure is the median over
// the runs of each run's median turn, min and max show the machine's noise, and the ratio is
// the median of the runs' own ratios.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/curl_session.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "bench/run_options.h"
#include "content/jpeg_picture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWarmUpTurns = 10;

template <typename Work>
double MillisecondsOf(Work&& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Painting is this thread's work alone: its CPU time leaves out whatever else the machine does.
template <typename Work>
double CpuMillisecondsOf(Work&& work) {
  const double start = bench::ThreadCpuMilliseconds();
  work();
  return bench::ThreadCpuMilliseconds() - start;
}

// Draws `image` over the whole target the way a tile paints itself.
void PaintStretched(QImage& target, const QImage& image) {
  QPainter painter(&target);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target.rect(), image);
}

// Qt's own way to a tile: its JPEG reader, told the size it is wanted at.
void PaintWithQtReader(const content::JpegPicture& picture, QImage& target) {
  const std::string_view data = picture.Data();
  QBuffer buffer;
  buffer.setData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  reader.setScaledSize(target.size());
  const QImage image = reader.read();
  if (image.isNull()) throw std::runtime_error("Qt could not read a tile's picture");
  PaintStretched(target, image);
}

// The whole picture decoded, then stretched down to the tile.
void PaintFromFullDecode(const content::JpegPicture& picture, QImage& target) {
  const content::DecodedImage full = picture.DecodeFull();
  const QImage image(reinterpret_cast<const uchar*>(full.pixels.data()), full.width, full.height,
                     full.width * 4, QImage::Format_RGB32);
  PaintStretched(target, image);
}

struct RunMedians {
  std::vector<double> turn, curl, paint, qt_paint, full_paint;
};

class TurnBench {
 public:
  explicit TurnBench(const std::string& base_url) : game_(base_url, dialogs_) {}

  void Run(int runs, int turns_per_run) {
    game_.Start();
    for (const app::TImage* tile : game_.TurnTiles()) {
      targets_.emplace_back(tile->size(), QImage::Format_ARGB32_Premultiplied);
    }
    for (int turn = 0; turn < kWarmUpTurns; ++turn) PlayTurn(turn);
    for (int run = 0; run < runs; ++run) {
      samples_ = {};
      for (int turn = 0; turn < turns_per_run; ++turn) PlayTurn(turn);
      medians_.turn.push_back(bench::MedianOf(samples_.turn));
      medians_.curl.push_back(bench::MedianOf(samples_.curl));
      medians_.paint.push_back(bench::MedianOf(samples_.paint));
      medians_.qt_paint.push_back(bench::MedianOf(samples_.qt_paint));
      medians_.full_paint.push_back(bench::MedianOf(samples_.full_paint));
    }
    Report(runs, turns_per_run);
  }

 private:
  // One click, timed beside curl, then the paint of its ten new tiles beside the two other
  // ways. Who goes first alternates, so that load from elsewhere falls on both alike.
  void PlayTurn(int turn) {
    const int right = game_.RightTile();
    const int tile = (turn / 2) % 2 == 0 ? right : right % 7 + 1;  // right and wrong picks
    const std::vector<std::string> urls = game_.ClickUrls(tile);
    const int next_task = game_.NextTaskIndex();
    const auto click = [&] { game_.Click(tile); };
    const auto fetch = [&] { curl_.FetchAll(urls); };
    if (turn % 2 == 0) {
      samples_.turn.push_back(MillisecondsOf(click));
      samples_.curl.push_back(MillisecondsOf(fetch));
    } else {
      samples_.curl.push_back(MillisecondsOf(fetch));
      samples_.turn.push_back(MillisecondsOf(click));
    }
    const int now_on_show = game_.Form().State.TaskIndex;
    if (now_on_show != next_task || dialogs_.Shown() != 0) {
      throw std::runtime_error("a turn went wrong: task " + std::to_string(now_on_show) +
                               " on show instead of " + std::to_string(next_task) + ", " +
                               std::to_string(dialogs_.Shown()) + " message boxes " +
                               dialogs_.LastText().toStdString());
    }
    ++turns_played_;

    const auto tiles = game_.TurnTiles();
    // A tile keeps the decode of bytes it already shows: each is given its picture afresh, so
    // that all three ways decode all ten.
    const auto ours = [&] {
      for (std::size_t i = 0; i < tiles.size(); ++i) {
        const content::JpegPicture picture = tiles[i]->Picture();
        tiles[i]->SetPicture({});
        tiles[i]->SetPicture(picture);
        tiles[i]->render(&targets_[i]);
      }
    };
    const auto qt = [&] {
      for (std::size_t i = 0; i < tiles.size(); ++i)
        PaintWithQtReader(tiles[i]->Picture(), targets_[i]);
    };
    const auto full = [&] {
      for (std::size_t i = 0; i < tiles.size(); ++i)
        PaintFromFullDecode(tiles[i]->Picture(), targets_[i]);
    };
    // The three take turns at going first, since the first to touch the pictures after the
    // click finds the caches cold. Only the tiles' own paint decodes into their caches, and the
    // window paints after all three: each is a first paint of fresh pictures.
    const std::function<void()> ways[] = {ours, qt, full};
    std::vector<double>* const sinks[] = {&samples_.paint, &samples_.qt_paint,
                                          &samples_.full_paint};
    for (int i = 0; i < 3; ++i) {
      const int way = (turn + i) % 3;
      sinks[way]->push_back(CpuMillisecondsOf(ways[way]));
    }
    bench::OffscreenGame::Paint();  // where damaged data would be reported
    if (dialogs_.Shown() != 0) throw std::runtime_error("a tile's picture did not decode");
  }

  void Report(int runs, int turns_per_run) const {
    const auto figure = [](std::string name, const std::vector<double>& ours,
                           std::string baseline_name, const std::vector<double>& baseline,
                           std::string goal) {
      std::vector<double> ratios;
      for (std::size_t run = 0; run < ours.size(); ++run)
        ratios.push_back(ours[run] / baseline[run]);
      bench::PrintFigure({std::move(name), "ms", bench::SpreadOf(ours), std::move(baseline_name),
                          bench::SpreadOf(baseline), std::move(goal), bench::MedianOf(ratios)});
    };
    figure("Turn: click to next task assigned (13 requests)", medians_.turn,
           "libcurl, same 13 URLs, one connection", medians_.curl, "ratio<=1.3");
    figure("Paint: a turn's 10 tiles from their data (CPU)", medians_.paint,
           "QImageReader setScaledSize + paint", medians_.qt_paint, "ratio<=1.0");
    figure("Paint: a turn's 10 tiles from their data (CPU)", medians_.paint,
           "full-size decode + paint", medians_.full_paint, "");
    bench::PrintNote("turn and paint: " + std::to_string(runs) + " runs of " +
                     std::to_string(turns_per_run) + " turns, " +
                     std::to_string(curl_.BytesReceived() / turns_played_) +
                     " bytes per turn; libcurl in-process on one easy handle");
  }

  bench::CountingDialogs dialogs_;
  bench::OffscreenGame game_;
  bench::CurlSession curl_;
  std::vector<QImage> targets_;
  RunMedians samples_;
  RunMedians medians_;
  std::size_t turns_played_ = 0;  // warm-up included, as in curl_'s byte count
};

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenPlatform();
  bench::CountingDialogs application_dialogs;
  app::Application application(argc, argv, application_dialogs);
  bench::RunOptions options;
  if (!bench::ParseRunOptions(argc, argv, {9, 60}, options)) {
    std::fprintf(stderr, "usage: turn_bench BASE_URL [RUNS [TURNS_PER_RUN]]\n");
    return 2;
  }
  try {
    TurnBench(options.base_url).Run(options.counts[0], options.counts[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "turn_bench: %s\n", error.what());
    return 1;
  }
  return application_dialogs.Shown() == 0 ? 0 : 1;
}
