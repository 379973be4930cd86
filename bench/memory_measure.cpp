// Resident memory against a hostile content server, which the game's caps must bound whatever
// it sends. After a normal start the server turns to one of:
//   names     a scheme of 49 names of 668 KiB each (the whole 32 MiB text cap);
//   pictures  every picture at the picture cap (a real JPEG, padded after its end).
// The figure is the largest resident size after any of CLICKS clicks in automatic stepping,
// beside the size after start-up. The server runs in a child process, so that what it holds
// does not count.
//
//   dravel_bench memory names|pictures [CLICKS]
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "bench/driver.h"
#include "bench/figures.h"
#include "content/content_server.h"
#include "content/http_client.h"
#include "tests/support/served_pack.h"

namespace bench {
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
  std::vector<std::string> names{content::kReadingPicture, content::kRightPicture,
                                 content::kWrongPicture};
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) names.push_back(ServedPack::CellName(r, c));
  for (const std::string& name : names) {
    std::string bytes = pack.Bytes(name);
    bytes.resize(content::kMaxPictureBytes, '\0');
    pack.Serve(name, std::move(bytes));
  }
}

// The child: serves the pack, tells its port, turns hostile when told, ends when the parent
// closes its end.
int Serve(const std::string& mode, int parent) {
  ServedPack pack;
  const std::uint16_t port = pack.server.Port();
  char byte = 0;
  if (write(parent, &port, sizeof port) != sizeof port || read(parent, &byte, 1) != 1) return 1;
  TurnHostile(pack, mode);
  if (write(parent, &byte, 1) != 1) return 1;
  while (read(parent, &byte, 1) > 0) {
  }
  return 0;
}

// The server's process and the parent's end of the socket between them.
struct ServerProcess {
  pid_t pid = -1;
  int socket = -1;
  ~ServerProcess() {
    if (socket >= 0) close(socket);  // the child ends
    if (pid > 0) waitpid(pid, nullptr, 0);
  }
};

}  // namespace

void MeasureMemory(const Options& options, CountingDialogs& dialogs) {
  const std::string& mode = options.Word(0);
  if (mode != "names" && mode != "pictures") throw UsageError("neither names nor pictures");
  const int clicks = options.Count(1, 20);
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) throw std::runtime_error("no socket pair");
  ServerProcess server{fork(), ends[0]};
  if (server.pid == 0) {
    close(ends[0]);
    _exit(Serve(mode, ends[1]));  // nothing of the parent's is taken down here
  }
  close(ends[1]);
  std::uint16_t port = 0;
  if (server.pid < 0 || read(server.socket, &port, sizeof port) != sizeof port) {
    throw std::runtime_error("the server process did not start");
  }
  OffscreenGame game("http://127.0.0.1:" + std::to_string(port) +
                         std::string(testsupport::TestHttpServer::kFolder),
                     dialogs);
  game.Start();
  const double start = ResidentBytes() / kMiB;
  char byte = 'x';
  if (write(server.socket, &byte, 1) != 1 || read(server.socket, &byte, 1) != 1) {
    throw std::runtime_error("the server process did not turn hostile");
  }
  double largest = start;
  for (int click = 0; click < clicks; ++click) {
    game.Click(1);
    OffscreenGame::Paint();
    largest = std::max(largest, ResidentBytes() / kMiB);
  }
  const std::string what =
      mode == "names"
          ? "a scheme of 49 names of " + std::to_string(kNameBytes / 1024) + " KiB"
          : "every picture at the " + std::to_string(content::kMaxPictureBytes >> 20) + " MiB cap";
  PrintFigure({"Memory: " + what + ", largest over " + std::to_string(clicks) + " clicks", "MiB",
               Single(largest), "after start-up", Single(start), "max<300"});
}

}  // namespace bench
