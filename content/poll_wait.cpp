#include <poll.h>

#include <climits>

#include "content/network_wait.h"

namespace content {

std::vector<SocketReady> PollWait::Wait(const std::vector<SocketWatch>& sockets,
                                        std::chrono::milliseconds timeout) {
  std::vector<pollfd> fds;
  fds.reserve(sockets.size());
  for (const SocketWatch& socket : sockets) {
    const short events =
        static_cast<short>((socket.read ? POLLIN : 0) | (socket.write ? POLLOUT : 0));
    fds.push_back({socket.fd, events, 0});
  }
  const auto wait_ms = static_cast<int>(std::min<std::chrono::milliseconds::rep>(
      std::max<std::chrono::milliseconds::rep>(timeout.count(), 0), INT_MAX));
  std::vector<SocketReady> ready;
  if (poll(fds.data(), fds.size(), wait_ms) <= 0) return ready;  // time-out, or a signal
  for (const pollfd& fd : fds) {
    if (fd.revents == 0) continue;
    // An error or a hang-up is reported as readiness: reading then tells libcurl what happened.
    const bool failed = (fd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    ready.push_back(
        {fd.fd, failed || (fd.revents & POLLIN) != 0, failed || (fd.revents & POLLOUT) != 0});
  }
  return ready;
}

}  // namespace content
