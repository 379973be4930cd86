// How long one action of the player's holds the window's input, with the game's own limits,
// against servers that are slow on purpose:
//   silent        takes the connection and never answers;
//   drip          sends the head, then a byte every 7 s;
//   spread        sends every answer whole and well-formed, but spread over 40 s;
//   just enough   sends every picture (64 KiB) at 2 KiB/s, above the least rate the game asks;
// and how soon a close request ends a handler that waits on a silent server.
// The goal: no action holds the input 20 s or more.
//
//   dravel_bench holds
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <string>

#include "bench/driver.h"
#include "bench/figures.h"
#include "content/content_server.h"
#include "tests/support/served_pack.h"

namespace bench {
namespace {

using namespace std::chrono_literals;
using testsupport::Fault;

// Every file of the pack answers with its bytes, padded to `least`, misbehaving as `fault`
// does with `pieces` sent `interval` apart.
void Serve(testsupport::ServedPack& pack, Fault fault, std::chrono::milliseconds interval,
           std::size_t pieces = 0, std::size_t least = 0) {
  std::vector<std::string> names{content::kSchemeFile, content::kReadingPicture,
                                 content::kRightPicture, content::kWrongPicture};
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) names.push_back(testsupport::ServedPack::CellName(r, c));
  for (const std::string& name : names) {
    std::string bytes = pack.Bytes(name);
    bytes.resize(std::max(bytes.size(), least), '\0');
    testsupport::Reply reply = testsupport::Reply::Ok(std::move(bytes));
    reply.fault = fault;
    reply.drip_interval = interval;
    reply.pieces = pieces > 0 ? pieces : reply.body.size() / 256;
    pack.server.Route(testsupport::TestHttpServer::FolderTarget(name), std::move(reply));
  }
}

template <typename Action>
void PrintHold(const std::string& what, Action&& action) {
  const double seconds = WallMillisecondsOf(action) / 1000;
  PrintFigure({"Input held: " + what, "s", Single(seconds), "", {}, "max<20"});
}

}  // namespace

void MeasureHolds(const Options&, CountingDialogs& dialogs) {
  testsupport::ServedPack pack;
  OffscreenGame game(pack.server.BaseUrl(), dialogs);
  game.Start();
  app::TForm1& form = game.Form();
  QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);  // hand stepping
  const struct {
    const char* what;
    Fault fault;
    std::chrono::milliseconds interval;
    std::size_t pieces;
  } next_cases[] = {
      {"\"Start->Next\", silent server", Fault::kNeverAnswer, 0ms, 1},
      {"\"Start->Next\", a byte every 7 s", Fault::kDripBody, 7s, 1},
      {"\"Start->Next\", every answer over 40 s", Fault::kSpreadOut, 1s, 40},
  };
  for (const auto& [what, fault, interval, pieces] : next_cases) {
    Serve(pack, fault, interval, pieces);
    PrintHold(what, [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); });
    pack.Restore();
    QTest::mouseClick(form.Button1, Qt::LeftButton);  // a whole task on show again
  }

  QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);  // automatic stepping
  Serve(pack, Fault::kSpreadOut, 125ms, 0, 64 << 10);    // 256 bytes every 125 ms
  PrintHold("a click, every picture at 2 KiB/s", [&] { game.Click(game.PickFor(0).tile); });

  Serve(pack, Fault::kNeverAnswer, 0ms, 1);
  std::chrono::steady_clock::time_point closed{};
  QTimer::singleShot(200ms, &form, [&form, &closed] {
    closed = std::chrono::steady_clock::now();
    form.close();
  });
  game.Click(1);
  const double after_close =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - closed).count();
  PrintFigure({"A click waiting on a silent server ends after a close request",
               "ms",
               Single(after_close),
               "",
               {},
               "max<250"});
  PrintNote("limits: " + std::to_string(content::kConnectTimeout.count() / 1000) +
            " s to connect; at least " + std::to_string(content::kMinBytesPerSecond) +
            " bytes/s over every " + std::to_string(content::kProgressWindow.count() / 1000) +
            " s window (" + std::to_string(content::kRetryTimeout.count() / 1000) +
            " s after a time-out); " + std::to_string(content::kHandlerBudget.count() / 1000) +
            " s per action");
}

}  // namespace bench
