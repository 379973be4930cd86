// How long one action of the player's holds the window's input, with the game's own limits,
// against servers that are slow on purpose:
//   silent        takes the connection and never answers;
//   drip          sends the head, then a byte every 7 s;
//   spread        sends every answer whole and well-formed, but spread over 40 s;
//   just enough   sends every picture (64 KiB) at 2 KiB/s, above the least rate the game asks;
// and how soon a close request ends a handler that waits on a silent server.
// The goal: no action holds the input 20 s or more.
//
//   hold_time_bench
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "app/application.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "content/content_server.h"
#include "tests/support/served_pack.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::Fault;
using testsupport::Reply;
using testsupport::ServedPack;

// Every file of the pack answers as `make` makes it of the file's bytes.
void Serve(ServedPack& pack, const std::function<Reply(std::string)>& make) {
  std::vector<std::string> names{content::kSchemeFile, content::kReadingPicture,
                                 content::kRightPicture, content::kWrongPicture};
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) names.push_back(ServedPack::CellName(r, c));
  for (const std::string& name : names) {
    pack.server.Route(testsupport::TestHttpServer::FolderTarget(name), make(pack.Bytes(name)));
  }
}

Reply Silent(std::string) {
  Reply reply;
  reply.fault = Fault::kNeverAnswer;
  return reply;
}

Reply Drip(std::string bytes) {
  Reply reply = Reply::Ok(std::move(bytes));
  reply.fault = Fault::kDripBody;
  reply.drip_interval = 7s;
  return reply;
}

Reply SpreadOver40Seconds(std::string bytes) {
  Reply reply = Reply::Ok(std::move(bytes));
  reply.fault = Fault::kSpreadOut;
  reply.pieces = 40;
  reply.drip_interval = 1s;
  return reply;
}

Reply JustEnough(std::string bytes) {
  bytes.resize(std::max<std::size_t>(bytes.size(), 64 << 10), '\0');
  Reply reply = Reply::Ok(std::move(bytes));
  reply.fault = Fault::kSpreadOut;
  reply.pieces = reply.body.size() / 256;  // 256 bytes every 125 ms
  reply.drip_interval = 125ms;
  return reply;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void PrintHold(const std::string& what, double seconds) {
  bench::PrintFigure(
      {"Input held: " + what, "s", bench::Spread{seconds, seconds, seconds}, "", {}, "max<20"});
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenPlatform();
  bench::CountingDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  try {
    ServedPack pack;
    bench::OffscreenGame game(pack.server.BaseUrl(), dialogs);
    game.Start();
    app::TForm1& form = game.Form();
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);  // hand stepping
    const struct {
      const char* what;
      Reply (*make)(std::string);
    } next_cases[] = {
        {"\"Start->Next\", silent server", Silent},
        {"\"Start->Next\", a byte every 7 s", Drip},
        {"\"Start->Next\", every answer over 40 s", SpreadOver40Seconds},
    };
    for (const auto& [what, make] : next_cases) {
      Serve(pack, make);
      const auto start = Clock::now();
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      PrintHold(what, SecondsSince(start));
      pack.Restore();
      QTest::mouseClick(form.Button1, Qt::LeftButton);  // a whole task on show again
    }

    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);  // automatic stepping
    Serve(pack, JustEnough);
    auto start = Clock::now();
    game.Click(game.RightTile());
    PrintHold("a click, every picture at 2 KiB/s", SecondsSince(start));

    Serve(pack, Silent);
    Clock::time_point closed{};
    QTimer::singleShot(200ms, &form, [&form, &closed] {
      closed = Clock::now();
      form.close();
    });
    game.Click(1);
    const double after_close = SecondsSince(closed) * 1000;
    bench::PrintFigure({"A click waiting on a silent server ends after a close request",
                        "ms",
                        bench::Spread{after_close, after_close, after_close},
                        "",
                        {},
                        "max<250"});
    bench::PrintNote("limits: " + std::to_string(content::kConnectTimeout.count() / 1000) +
                     " s to connect; at least " + std::to_string(content::kMinBytesPerSecond) +
                     " bytes/s over every " +
                     std::to_string(content::kProgressWindow.count() / 1000) + " s window (" +
                     std::to_string(content::kRetryTimeout.count() / 1000) +
                     " s after a time-out); " +
                     std::to_string(content::kHandlerBudget.count() / 1000) + " s per action");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "hold_time_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
