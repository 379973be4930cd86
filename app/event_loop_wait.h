#pragma once

#include <QEventLoop>

#include "content/network_wait.h"

namespace app {

// Waits for the HTTP client's sockets in a local event loop that takes the window system's
// events but no user input: while a handler waits for the network the window repaints, answers
// the desktop's pings and can be closed, and clicks and keys wait for the handler to return.
// Timers and posted events run inside the wait, so the game defers its own (damage reports).
class EventLoopWait : public content::NetworkWait {
 public:
  std::vector<content::SocketReady> Wait(const std::vector<content::SocketWatch>& sockets,
                                         std::chrono::milliseconds timeout) override;
  void Interrupt() override;

 private:
  QEventLoop* loop_ = nullptr;  // the wait under way
};

}  // namespace app
