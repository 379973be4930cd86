#include "raw_answer_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

// A request head larger than this is not the client's: stop reading and answer.
constexpr std::size_t kMaxRequestHead = 64 << 10;

}  // namespace

RawAnswerServer::RawAnswerServer() {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  stop_event_ = eventfd(0, EFD_CLOEXEC);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || stop_event_ < 0 ||
      bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawAnswerServer::~RawAnswerServer() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(stop_event_, &one, sizeof one);
  thread_.join();
  close(listener_);
  close(stop_event_);
}

std::string RawAnswerServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void RawAnswerServer::SetAnswer(std::string bytes) {
  std::lock_guard lock(mutex_);
  answer_ = std::move(bytes);
}

void RawAnswerServer::Serve() {
  pollfd fds[2] = {{listener_, POLLIN, 0}, {stop_event_, POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) continue;
    if ((fds[1].revents & POLLIN) != 0) return;
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Answer(connection);
    close(connection);
  }
}

void RawAnswerServer::Answer(int connection) {
  // The whole request head first: closing with unread bytes would reset the connection and
  // could throw the answer away before the client reads it.
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestHead) {
    const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  std::string answer;
  {
    std::lock_guard lock(mutex_);
    answer = answer_;
  }
  std::string_view rest = answer;
  while (!rest.empty()) {
    const ssize_t n = send(connection, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  shutdown(connection, SHUT_WR);
}
