// A click over a network: the game plays the content pack from a loopback server that spreads
// every answer over 50 ms, and a click in automatic stepping (the verdict, the pick and the
// next turn: 13 requests one after another) is timed beside the least any client that makes
// those requests in that order could take, 13 x 50 ms. Then the same with every answer 50 ms
// late and its bytes at 1 Mbit/s.
//
//   dravel_bench clicks PACK_FOLDER [CLICKS]
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/driver.h"
#include "bench/figures.h"
#include "tests/support/test_http_server.h"

namespace bench {
namespace {

using namespace std::chrono_literals;
constexpr auto kLatency = 50ms;
constexpr auto kPiece = 10ms;
constexpr std::size_t kOneMegabitPiece = 1'000'000 / 8 / 100;  // bytes per 10 ms at 1 Mbit/s

// Serves every file of `folder`, each answer spread so that its last byte comes 50 ms after
// the request, or with `line` 50 ms and its bytes at 1 Mbit/s after it, in pieces of 10 ms.
// Returns how long each file's answer takes, by name.
std::map<std::string, double> ServeLate(testsupport::TestHttpServer& server,
                                        const std::filesystem::path& folder, bool line) {
  std::map<std::string, double> took_ms;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(file.path(), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string name = file.path().filename().string();
    testsupport::Reply reply = testsupport::Reply::Ok(bytes, testsupport::ContentTypeFor(name));
    reply.fault = testsupport::Fault::kSpreadOut;
    reply.drip_interval = line ? kPiece : kLatency;
    reply.pieces =
        line ? 1 + kLatency / kPiece + (bytes.size() + kOneMegabitPiece - 1) / kOneMegabitPiece : 2;
    took_ms[name] = std::chrono::duration<double, std::milli>(reply.drip_interval).count() *
                    static_cast<double>(reply.pieces - 1);
    server.Route(testsupport::TestHttpServer::FolderTarget(name), std::move(reply));
  }
  return took_ms;
}

void ClickLate(const std::filesystem::path& folder, bool line, int clicks,
               CountingDialogs& dialogs) {
  testsupport::TestHttpServer server;
  const std::map<std::string, double> took_ms = ServeLate(server, folder, line);
  OffscreenGame game(server.BaseUrl(), dialogs);
  game.Start();
  std::vector<double> times, floors;
  for (int click = 0; click < clicks; ++click) {
    const Pick pick = game.PickFor(click);
    double floor = 0;
    for (const std::string& url : game.ClickUrls(pick.tile)) {
      floor += took_ms.at(url.substr(server.BaseUrl().size()));
    }
    times.push_back(WallMillisecondsOf([&] { game.Click(pick.tile); }));
    game.ExpectPlayed(pick);
    floors.push_back(floor);
    OffscreenGame::Paint();
  }
  std::set<int> connections;
  for (const testsupport::RecordedRequest& request : server.Requests()) {
    connections.insert(request.connection);
  }
  const std::string over = line ? " and 1 Mbit/s" : "";
  PrintFigure({"Click with every answer 50 ms late" + over + " (13 requests)", "ms",
               SpreadOf(times), line ? "13 x 50 ms + its bytes at 1 Mbit/s" : "13 x 50 ms",
               SpreadOf(floors), "ratio<=1.05", MedianRatio(times, floors)});
  PrintNote("click with answers 50 ms late" + over + ": " + std::to_string(clicks) + " clicks, " +
            std::to_string(connections.size()) + " connection(s) in all");
}

}  // namespace

void MeasureClicks(const Options& options, CountingDialogs& dialogs) {
  const std::filesystem::path folder = options.Word(0);
  if (!std::filesystem::is_directory(folder)) throw UsageError("no such folder");
  const int clicks = options.Count(1, 20);
  ClickLate(folder, false, clicks, dialogs);
  ClickLate(folder, true, clicks, dialogs);
}

}  // namespace bench
