#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <memory>

#include "content/network_wait.h"

namespace app {

// Waits for the HTTP client's sockets in the window's event loop: while a handler waits for
// the network, the window repaints, answers the desktop's pings and takes a close request.
// Each socket has its notifiers for as long as it lives, armed only while a wait runs, and the
// client has one timer; a request runs one local event loop at the most.
class EventLoopWait : public QObject, public content::NetworkWait {
  Q_OBJECT

 public:
  EventLoopWait();
  ~EventLoopWait() override;

  std::unique_ptr<SocketWatch> Watch(int fd) override;
  void SetTimer(std::optional<std::chrono::milliseconds> delay) override;
  void Run(content::NetworkEvents& events) override;
  void Stop() override;

 signals:
  // A wait begins or ends: the sockets' notifiers follow.
  void Waiting(bool waiting);

 private:
  class NotifierWatch;

  QTimer timer_;
  QEventLoop* loop_ = nullptr;  // the wait under way
  content::NetworkEvents* events_ = nullptr;
};

}  // namespace app
