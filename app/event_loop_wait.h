#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "content/network_wait.h"

namespace app {

// Waits for the HTTP client's sockets in the window's event loop: while a handler waits for
// the network, the window repaints, answers the desktop's pings and takes a close request.
// Each socket watch has its notifiers for as long as it lives, armed only while a wait runs,
// and the client has one timer; a request runs one local event loop at the most.
class EventLoopWait : public QObject, public content::NetworkWait {
  Q_OBJECT

 public:
  EventLoopWait();
  ~EventLoopWait() override;

  std::unique_ptr<SocketWatch> Watch(int fd) override;
  void SetTimer(std::optional<std::chrono::milliseconds> delay) override;
  void Run(content::NetworkEvents& events) override;
  void Stop() override;

 private:
  class NotifierWatch;

  void Arm(bool waiting);
  bool AnsweredAtOnce();

  QTimer timer_;
  std::vector<NotifierWatch*> watches_;  // every watch alive, in the order made
  QEventLoop* loop_ = nullptr;           // the wait under way
  bool waiting_ = false;
  content::NetworkEvents* events_ = nullptr;
};

}  // namespace app
