// A click over a network: the game plays against nginx through a loopback proxy that holds
// every request back 50 ms, and a click in automatic stepping (the verdict, the pick and the
// next turn: 13 requests one after another) is timed beside 13 x 50 ms, the least any client
// that makes those requests in that order could take. Then the same over a 1 Mbit/s line,
// beside 13 x 50 ms plus the time its bytes take at that speed. Also: the connections the game
// opened, and the local event loops its network waits ran per click.
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
constexpr std::size_t kOneMegabit = 1'000'000 / 8;  // bytes per second

double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// Clicks through a proxy of the given line speed (0: no limit).
void ClickThrough(std::uint16_t server_port, std::size_t rate, int clicks, const std::string& line,
                  bench::CountingDialogs& dialogs) {
  bench::DelayingProxy proxy(server_port, kDelay, rate);
  bench::OffscreenGame game(
      "http://127.0.0.1:" + std::to_string(proxy.Port()) + std::string(content::kContentFolder),
      dialogs);
  game.Start();
  std::vector<double> times, floors, ratios;
  for (int click = 0; click < clicks; ++click) {
    const std::size_t bytes = proxy.AnswerBytes();
    const auto start = std::chrono::steady_clock::now();
    game.Click(game.RightTile());
    times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    double floor = Milliseconds(kClickRequests * kDelay);
    if (rate > 0) floor += 1000.0 * static_cast<double>(proxy.AnswerBytes() - bytes) / rate;
    floors.push_back(floor);
    ratios.push_back(times.back() / floor);
    bench::OffscreenGame::Paint();
  }
  if (dialogs.Shown() > 0) throw std::runtime_error("a dialog came up during the clicks");
  bench::PrintFigure({"Click with 50 ms before each request" + line + " (13 requests)", "ms",
                      bench::SpreadOf(times),
                      rate > 0 ? "13 x 50 ms + its bytes at 1 Mbit/s" : "13 x 50 ms",
                      bench::SpreadOf(floors), "ratio<=1.05", bench::MedianOf(ratios)});
  bench::PrintNote("click through the delaying proxy" + line + ": " + std::to_string(clicks) +
                   " clicks on " + std::to_string(proxy.Connections()) + " connection(s)");
}

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
    const auto port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const int clicks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    ClickThrough(port, 0, clicks, "", dialogs);
    ClickThrough(port, kOneMegabit, clicks, " over 1 Mbit/s", dialogs);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "click_latency_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
