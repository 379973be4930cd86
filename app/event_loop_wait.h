#pragma once

#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "content/network_wait.h"

namespace app {

// Waits for the HTTP client's sockets in the window's event loop: while a handler waits for
// the network, the window repaints, answers the desktop's pings and takes a close request.
// Each socket has its notifiers for as long as it lives and the client has one timer; a
// request runs one local event loop at the most.
class EventLoopWait : public QObject, public content::NetworkWait {
 public:
  EventLoopWait();
  ~EventLoopWait() override;

  void Watch(int fd, bool read, bool write) override;
  void SetTimer(std::optional<std::chrono::milliseconds> delay) override;
  void Run(content::NetworkEvents& events) override;
  void Stop() override;

 private:
  struct Socket {
    std::unique_ptr<QSocketNotifier> read, write;
    bool want_read = false, want_write = false;
  };

  std::unique_ptr<QSocketNotifier> Notifier(int fd, QSocketNotifier::Type type);
  void Arm(Socket& socket);
  void Retire(std::unique_ptr<QSocketNotifier> notifier);

  std::map<int, Socket> sockets_;
  // Notifiers of closed sockets: one of them may be the one reporting now, so they go only
  // when no report runs.
  std::vector<std::unique_ptr<QSocketNotifier>> retired_;
  QTimer timer_;
  QEventLoop* loop_ = nullptr;  // the wait under way
  content::NetworkEvents* events_ = nullptr;
};

}  // namespace app
