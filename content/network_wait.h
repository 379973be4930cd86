#pragma once

#include <chrono>
#include <vector>

namespace content {

// A socket of a transfer under way, and what the transfer waits for on it.
struct SocketWatch {
  int fd = -1;
  bool read = false;
  bool write = false;
};

// A socket that is ready, and for what.
struct SocketReady {
  int fd = -1;
  bool read = false;
  bool write = false;
};

// How the HTTP client waits for the network. The client calls Wait from inside a request and
// goes on with what it returns; whatever else runs meanwhile is the waiter's business, so a
// window can repaint and answer its desktop while a request is under way.
class NetworkWait {
 public:
  virtual ~NetworkWait() = default;
  // The sockets that became ready, or none when `timeout` passed first or Interrupt was called.
  virtual std::vector<SocketReady> Wait(const std::vector<SocketWatch>& sockets,
                                        std::chrono::milliseconds timeout) = 0;
  // Ends the Wait under way at once, without a socket. Called by what runs inside the wait.
  virtual void Interrupt() = 0;
};

// Blocks in poll(2): for programs that have nothing else to do while they wait.
class PollWait : public NetworkWait {
 public:
  std::vector<SocketReady> Wait(const std::vector<SocketWatch>& sockets,
                                std::chrono::milliseconds timeout) override;
  // Nothing runs inside poll(2) that could call this.
  void Interrupt() override {}
};

}  // namespace content
