#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>
#include <vector>

#include "content/network_wait.h"

namespace content {

using Clock = std::chrono::steady_clock;

pollfd PollFor(int fd, Interest interest) {
  return {fd, static_cast<short>((interest.read ? POLLIN : 0) | (interest.write ? POLLOUT : 0)), 0};
}

void ReportPolled(const pollfd& polled, NetworkEvents& events) {
  if (polled.revents == 0) return;
  const bool failed = (polled.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
  events.SocketReady(polled.fd, failed || (polled.revents & POLLIN) != 0,
                     failed || (polled.revents & POLLOUT) != 0);
}

class PollWait::PollWatch final : public SocketWatch {
 public:
  PollWatch(PollWait& wait, int fd) : wait_(wait), fd_(fd) {}
  ~PollWatch() override { wait_.sockets_.erase(fd_); }
  void Want(Interest interest) override {
    if (interest.read || interest.write) {
      wait_.sockets_[fd_] = interest;
    } else {
      wait_.sockets_.erase(fd_);
    }
  }

 private:
  PollWait& wait_;
  int fd_;
};

std::unique_ptr<NetworkWait::SocketWatch> PollWait::Watch(int fd) {
  return std::make_unique<PollWatch>(*this, fd);
}

void PollWait::SetTimer(std::optional<std::chrono::milliseconds> delay) {
  timer_due_.reset();
  if (delay) timer_due_ = Clock::now() + *delay;
}

void PollWait::Run(NetworkEvents& events) {
  stopped_ = false;
  std::vector<pollfd> fds;
  while (!stopped_) {
    fds.clear();
    for (const auto& [fd, interest] : sockets_) fds.push_back(PollFor(fd, interest));
    // The client keeps a timer while a request runs; without one, poll would wait for ever.
    if (!timer_due_ && fds.empty()) throw std::logic_error("waiting for nothing");
    int wait_ms = -1;
    if (timer_due_) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*timer_due_ - Clock::now());
      wait_ms =
          static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
    }
    const int ready = poll(fds.data(), fds.size(), wait_ms);
    if (ready < 0 && errno != EINTR)
      throw std::system_error(errno, std::generic_category(), "poll");
    if (timer_due_ && *timer_due_ <= Clock::now()) {
      timer_due_.reset();
      events.TimerDue();
    }
    for (const pollfd& fd : fds) {
      if (stopped_) break;
      // A report may have closed this socket, and another may have its number by now.
      if (sockets_.contains(fd.fd)) ReportPolled(fd, events);
    }
  }
}

}  // namespace content
