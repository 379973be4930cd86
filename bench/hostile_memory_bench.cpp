// Resident memory against a hostile content server, which the game's caps must bound whatever
// it sends. After a normal start the server turns to one of:
//   names     a scheme of 49 names of 668 KiB each (the whole 32 MiB text cap);
//   pictures  every picture at the picture cap (a real JPEG, padded after its end).
// The figure is the largest resident size after any of CLICKS clicks in automatic stepping,
// beside the size after start-up. The server runs in a child process, so that what it holds
// does not count.
//
//   hostile_memory_bench names|pictures [CLICKS]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/application.h"
#include "bench/figures.h"
#include "bench/offscreen_game.h"
#include "content/content_server.h"
#include "content/http_client.h"
#include "tests/support/served_pack.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr std::size_t kNameBytes = content::kMaxTextBytes / 49 - 2;

using testsupport::ServedPack;

void TurnHostile(ServedPack& pack, const std::string& mode) {
  if (mode == "names") {
    std::string scheme;
    for (int line = 0; line < 49; ++line) {
      scheme += std::string(kNameBytes, static_cast<char>('a' + line % 26)) + "\r\n";
    }
    pack.server.ServeBytes(content::kSchemeFile, scheme);
    return;
  }
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      std::string bytes = pack.Bytes(ServedPack::CellName(r, c));
      bytes.resize(content::kMaxPictureBytes, '\0');
      pack.Serve(ServedPack::CellName(r, c), std::move(bytes));
    }
  }
  for (const char* fixed :
       {content::kReadingPicture, content::kRightPicture, content::kWrongPicture}) {
    std::string bytes = pack.Bytes(fixed);
    bytes.resize(content::kMaxPictureBytes, '\0');
    pack.Serve(fixed, std::move(bytes));
  }
}

// The child: serves the pack, tells its port, turns hostile when told, ends at end of input.
int Serve(const std::string& mode, int commands, int answers) {
  ServedPack pack;
  const std::uint16_t port = pack.server.Port();
  char byte = 0;
  if (write(answers, &port, sizeof port) != sizeof port || read(commands, &byte, 1) != 1) return 1;
  TurnHostile(pack, mode);
  if (write(answers, &byte, 1) != 1) return 1;
  while (read(commands, &byte, 1) > 0) {
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if ((mode != "names" && mode != "pictures") || argc > 3) {
    std::fprintf(stderr, "usage: hostile_memory_bench names|pictures [CLICKS]\n");
    return 2;
  }
  const int clicks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  int commands[2], answers[2];
  if (pipe(commands) != 0 || pipe(answers) != 0) return 1;
  const pid_t server = fork();
  if (server == 0) {
    close(commands[1]);
    close(answers[0]);
    return Serve(mode, commands[0], answers[1]);
  }
  close(commands[0]);
  close(answers[1]);

  bench::UseOffscreenPlatform();
  bench::CountingDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  int status = 0;
  try {
    std::uint16_t port = 0;
    if (server < 0 || read(answers[0], &port, sizeof port) != sizeof port) {
      throw std::runtime_error("the server process did not start");
    }
    bench::OffscreenGame game("http://127.0.0.1:" + std::to_string(port) +
                                  std::string(testsupport::TestHttpServer::kFolder),
                              dialogs);
    game.Start();
    const double start = bench::ResidentBytes() / kMiB;
    char byte = 'x';
    if (write(commands[1], &byte, 1) != 1 || read(answers[0], &byte, 1) != 1) {
      throw std::runtime_error("the server process did not turn hostile");
    }
    double largest = start;
    for (int click = 0; click < clicks; ++click) {
      game.Click(1);
      bench::OffscreenGame::Paint();
      largest = std::max(largest, bench::ResidentBytes() / kMiB);
    }
    const std::string what =
        mode == "names" ? "a scheme of 49 names of " + std::to_string(kNameBytes / 1024) + " KiB"
                        : "every picture at the " +
                              std::to_string(content::kMaxPictureBytes >> 20) + " MiB cap";
    bench::PrintFigure({"Memory: " + what + ", largest over " + std::to_string(clicks) + " clicks",
                        "MiB", bench::Spread{largest, largest, largest}, "after start-up",
                        bench::Spread{start, start, start}, "max<300"});
  } catch (const std::exception& error) {
    std::fprintf(stderr, "hostile_memory_bench: %s\n", error.what());
    status = 1;
  }
  close(commands[1]);
  if (server > 0) waitpid(server, nullptr, 0);
  return status;
}
