// A click over a network: the game plays against nginx through a loopback proxy that holds
// every request back 50 ms, and a click in automatic stepping (the verdict, the pick and the
// next turn: 13 requests one after another) is timed beside 13 x 50 ms, the least any client
// that makes those requests in that order could take. Also: connections the game opened.
//
//   click_latency_bench SERVER_PORT [CLICKS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/delaying_proxy.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "content/content_server.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kDelay = 50ms;
constexpr int kClickRequests = 13;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: click_latency_bench SERVER_PORT [CLICKS]\n");
    return 2;
  }
  bench::UseOffscreenPlatform();
  bench::CountingDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  try {
    const int clicks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    bench::DelayingProxy proxy(static_cast<std::uint16_t>(std::atoi(argv[1])), kDelay);
    bench::OffscreenGame game(
        "http://127.0.0.1:" + std::to_string(proxy.Port()) + std::string(content::kContentFolder),
        dialogs);
    game.Start();
    std::vector<double> times;
    for (int click = 0; click < clicks; ++click) {
      const auto start = std::chrono::steady_clock::now();
      game.Click(game.RightTile());
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      bench::OffscreenGame::Paint();
    }
    if (dialogs.Shown() > 0) throw std::runtime_error("a dialog came up during the clicks");
    const double floor = std::chrono::duration<double, std::milli>(kClickRequests * kDelay).count();
    const bench::Spread spread = bench::SpreadOf(times);
    bench::PrintFigure({"Click with 50 ms before each request (13 requests)", "ms", spread,
                        "13 x 50 ms", bench::Spread{floor, floor, floor}, "ratio<=1.05",
                        spread.median / floor});
    bench::PrintNote("click through the delaying proxy: " + std::to_string(clicks) + " clicks on " +
                     std::to_string(proxy.Connections()) + " connection(s)");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "click_latency_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
