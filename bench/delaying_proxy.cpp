#include "bench/delaying_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr int kPollMs = 100;  // how soon a relay notices that the proxy stops

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool SendAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t sent = send(fd, data, static_cast<std::size_t>(size), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= sent;
  }
  return true;
}

}  // namespace

DelayingProxy::DelayingProxy(std::uint16_t server_port, std::chrono::milliseconds delay,
                             std::size_t answer_bytes_per_second)
    : server_port_(server_port), delay_(delay), answer_rate_(answer_bytes_per_second) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 ||
      bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error(std::string("delaying proxy: ") + std::strerror(errno));
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

DelayingProxy::~DelayingProxy() {
  stopping_ = true;
  acceptor_.join();
  close(listener_);
  for (std::thread& relay : relays_) relay.join();
}

void DelayingProxy::Accept() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, kPollMs) <= 0) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    ++connections_;
    const std::lock_guard lock(mutex_);
    relays_.emplace_back([this, client] { Relay(client); });
  }
}

void DelayingProxy::Relay(int client) {
  const int server = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(server_port_);
  if (server >= 0 &&
      connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const int on = 1;
    setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    char buffer[64 << 10];
    // At a limited rate, the answer goes in pieces of a hundredth of a second each.
    const std::size_t piece = answer_rate_ > 0
                                  ? std::clamp<std::size_t>(answer_rate_ / 100, 1, sizeof buffer)
                                  : sizeof buffer;
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    while (!stopping_) {
      if (poll(ends, 2, kPollMs) <= 0) continue;
      if (ends[0].revents != 0) {
        const ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        std::this_thread::sleep_for(delay_);
        if (!SendAll(server, buffer, got)) break;
      }
      if (ends[1].revents != 0) {
        const ssize_t got = recv(server, buffer, piece, 0);
        if (got <= 0 || !SendAll(client, buffer, got)) break;
        answer_bytes_ += static_cast<std::size_t>(got);
        if (answer_rate_ > 0) {
          std::this_thread::sleep_for(
              std::chrono::microseconds(static_cast<std::int64_t>(got) * 1'000'000 /
                                        static_cast<std::int64_t>(answer_rate_)));
        }
      }
    }
  }
  if (server >= 0) close(server);
  close(client);
}

}  // namespace bench
