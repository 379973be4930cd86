#pragma once

#include <chrono>
#include <map>
#include <optional>

namespace content {

// What a waiter reports while it runs. The HTTP client takes each report to libcurl; the
// calls never throw.
class NetworkEvents {
 public:
  virtual void SocketReady(int fd, bool read, bool write) = 0;
  virtual void TimerDue() = 0;

 protected:
  ~NetworkEvents() = default;
};

// How the HTTP client waits for the network, the way libcurl's event-loop interface wants it:
// the client names each socket to watch for as long as the socket lives and keeps one timer,
// and once per request it runs the waiter until it says Stop. Whatever else runs meanwhile is
// the waiter's business, so a window can repaint and answer its desktop during a request.
class NetworkWait {
 public:
  virtual ~NetworkWait() = default;
  // Starts or changes watching `fd`; with neither read nor write, ends it (the socket closes).
  virtual void Watch(int fd, bool read, bool write) = 0;
  // One TimerDue after `delay`, in place of any earlier timer; nullopt cancels the timer.
  virtual void SetTimer(std::optional<std::chrono::milliseconds> delay) = 0;
  // Reports to `events` until Stop. Nothing is reported outside a Run.
  virtual void Run(NetworkEvents& events) = 0;
  // Ends the Run under way; a no-op outside one.
  virtual void Stop() = 0;
};

// Blocks in poll(2): for programs that have nothing else to do while they wait.
class PollWait : public NetworkWait {
 public:
  void Watch(int fd, bool read, bool write) override;
  void SetTimer(std::optional<std::chrono::milliseconds> delay) override;
  void Run(NetworkEvents& events) override;
  void Stop() override { stopped_ = true; }

 private:
  struct Interest {
    bool read = false;
    bool write = false;
  };

  std::map<int, Interest> sockets_;
  std::optional<std::chrono::steady_clock::time_point> timer_due_;
  bool stopped_ = true;
};

}  // namespace content
