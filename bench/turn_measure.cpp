// A turn and its paint, each beside its yardstick measured in the same run, turn after turn:
// a click in automatic stepping until the next task's pictures are assigned, beside bare
// libcurl fetching the same 13 addresses on one connection; the window's repaint after it,
// beside the same repaint with every picture decoded afresh; the turn's ten tiles decoded and
// painted from their data, beside Qt's own scaled JPEG read (both in CPU time). Each figure is
// the median over the runs of each run's median turn, and the ratio the median of the runs'.
//
//   dravel_bench turns BASE_URL [RUNS [TURNS_PER_RUN]]
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/curl_session.h"
#include "bench/driver.h"
#include "bench/figures.h"

namespace bench {
namespace {

constexpr int kWarmUpTurns = 10;

// Qt's own way to a tile: its JPEG reader, told the size it is wanted at, then the paint.
void PaintWithQtReader(const content::JpegPicture& picture, QImage& target) {
  const std::string_view data = picture.Data();
  QBuffer buffer;
  buffer.setData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  reader.setScaledSize(target.size());
  const QImage image = reader.read();
  if (image.isNull()) throw std::runtime_error("Qt could not read a tile's picture");
  QPainter painter(&target);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target.rect(), image);
}

// A control keeps the decode of bytes it already shows: given its picture afresh, it decodes
// again when it next paints.
void Forget(app::TImage& control) {
  const content::JpegPicture picture = control.Picture();
  control.SetPicture({});
  control.SetPicture(picture);
}

// Each way a turn is measured, with its yardstick beside it.
enum Way : std::size_t { kClick, kCurl, kRepaint, kRepaintAfresh, kTiles, kQtTiles, kWays };
using Samples = std::array<std::vector<double>, kWays>;

// Times `ours` and `theirs`, who goes first taking turns, so that load from elsewhere falls on
// both alike, and so does who finds the caches cold.
template <typename Ours, typename Theirs, typename Clock>
void Alternating(int turn, Samples& samples, Way ours_way, Ours&& ours, Way theirs_way,
                 Theirs&& theirs, Clock clock) {
  if (turn % 2 == 0) samples[ours_way].push_back(clock(ours));
  samples[theirs_way].push_back(clock(theirs));
  if (turn % 2 != 0) samples[ours_way].push_back(clock(ours));
}

class TurnRuns {
 public:
  TurnRuns(const std::string& base_url, CountingDialogs& dialogs) : game_(base_url, dialogs) {
    game_.Start();
    for (const app::TImage* tile : game_.TurnTiles()) {
      targets_.emplace_back(tile->size(), QImage::Format_ARGB32_Premultiplied);
    }
  }

  void Run(int runs, int turns_per_run) {
    for (int turn = 0; turn < kWarmUpTurns; ++turn) PlayTurn(turn);
    for (int run = 0; run < runs; ++run) {
      samples_ = {};
      for (int turn = 0; turn < turns_per_run; ++turn) PlayTurn(turn);
      for (std::size_t way = 0; way < kWays; ++way) {
        medians_[way].push_back(MedianOf(samples_[way]));
      }
    }
    Report(runs, turns_per_run);
  }

 private:
  void PlayTurn(int turn) {
    const Pick pick = game_.PickFor(turn);
    const std::vector<std::string> urls = game_.ClickUrls(pick.tile);
    const auto wall = [](auto& work) { return WallMillisecondsOf(work); };
    const auto cpu = [](auto& work) { return CpuMillisecondsOf(work); };
    Alternating(
        turn, samples_, kClick, [&] { game_.Click(pick.tile); }, kCurl,
        [&] { curl_.FetchAll(urls); }, wall);
    game_.ExpectPlayed(pick);
    ++turns_played_;

    samples_[kRepaint].push_back(CpuMillisecondsOf(OffscreenGame::Paint));
    for (app::TImage* control : game_.Form().findChildren<app::TImage*>()) Forget(*control);
    samples_[kRepaintAfresh].push_back(CpuMillisecondsOf(OffscreenGame::Paint));

    const auto tiles = game_.TurnTiles();
    Alternating(
        turn, samples_, kTiles,
        [&] {
          for (std::size_t i = 0; i < tiles.size(); ++i) {
            Forget(*tiles[i]);
            tiles[i]->render(&targets_[i]);
          }
        },
        kQtTiles,
        [&] {
          for (std::size_t i = 0; i < tiles.size(); ++i) {
            PaintWithQtReader(tiles[i]->Picture(), targets_[i]);
          }
        },
        cpu);
    OffscreenGame::Paint();  // where damaged data would be reported
  }

  void Report(int runs, int turns_per_run) const {
    const auto figure = [this](std::string name, Way ours, std::string baseline_name, Way baseline,
                               std::string goal) {
      PrintFigure({std::move(name), "ms", SpreadOf(medians_[ours]), std::move(baseline_name),
                   SpreadOf(medians_[baseline]), std::move(goal),
                   MedianRatio(medians_[ours], medians_[baseline])});
    };
    figure("Turn: click to next task assigned (13 requests)", kClick,
           "libcurl, same 13 URLs, one connection", kCurl, "ratio<=1.3");
    figure("Repaint: the window after a click (CPU)", kRepaint, "its pictures all decoded afresh",
           kRepaintAfresh, "ratio<=0.6");
    figure("Paint: a turn's 10 tiles from their data (CPU)", kTiles,
           "QImageReader setScaledSize + paint", kQtTiles, "ratio<=1.0");
    PrintNote("turns: " + std::to_string(runs) + " runs of " + std::to_string(turns_per_run) +
              " turns in automatic fixed order, " +
              std::to_string(curl_.BytesReceived() / turns_played_) +
              " bytes per turn; libcurl in-process on one easy handle");
  }

  OffscreenGame game_;
  CurlSession curl_;
  std::vector<QImage> targets_;
  Samples samples_;
  Samples medians_;
  std::size_t turns_played_ = 0;  // warm-up included, as in curl_'s byte count
};

}  // namespace

void MeasureTurns(const Options& options, CountingDialogs& dialogs) {
  TurnRuns(options.Url(0), dialogs).Run(options.Count(1, 21), options.Count(2, 40));
}

}  // namespace bench
