#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>

struct pollfd;

namespace content {

// What a socket is watched for.
struct Interest {
  bool read = false;
  bool write = false;
};

// What a waiter reports while it runs. The HTTP client takes each report to libcurl; the
// calls never throw.
class NetworkEvents {
 public:
  virtual void SocketReady(int fd, bool read, bool write) = 0;
  virtual void TimerDue() = 0;

 protected:
  ~NetworkEvents() = default;
};

// What poll(2) is asked about `fd`, for `interest`; events 0 when nothing.
pollfd PollFor(int fd, Interest interest);
// Reports what poll(2) found of one socket, if anything. An error or a hang-up is reported as
// readiness: reading then tells libcurl what it is.
void ReportPolled(const pollfd& polled, NetworkEvents& events);

// How the HTTP client waits for the network, the way libcurl's event-loop interface wants it:
// the client watches each socket for as long as the socket lives and keeps one timer, and once
// per request it runs the waiter until it says Stop. Whatever else runs meanwhile is the
// waiter's business, so a window can repaint and answer its desktop during a request.
class NetworkWait {
 public:
  // The watch of one socket; destroyed when the socket closes.
  class SocketWatch {
   public:
    virtual ~SocketWatch() = default;
    virtual void Want(Interest interest) = 0;
  };

  virtual ~NetworkWait() = default;
  // Starts watching `fd`, for nothing until told what.
  virtual std::unique_ptr<SocketWatch> Watch(int fd) = 0;
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
  std::unique_ptr<SocketWatch> Watch(int fd) override;
  void SetTimer(std::optional<std::chrono::milliseconds> delay) override;
  void Run(NetworkEvents& events) override;
  void Stop() override { stopped_ = true; }

 private:
  class PollWatch;

  std::map<int, Interest> sockets_;  // what poll(2) is asked about, kept by the watches
  std::optional<std::chrono::steady_clock::time_point> timer_due_;
  bool stopped_ = true;
};

}  // namespace content
