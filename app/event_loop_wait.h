#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

#include "content/network_wait.h"

namespace app {

// Waits for the HTTP client's sockets in a local event loop: while a handler waits for the
// network the window repaints, answers the desktop's pings and takes a close request. The
// player's input (mouse, keys, wheel, touch) is held back meanwhile and delivered, in order,
// once the handler has returned, so no handler of the game runs inside another. Qt's own
// ExcludeUserInputEvents is not enough: it holds back the close request as well.
class EventLoopWait : public QObject, public content::NetworkWait {
 public:
  EventLoopWait();
  ~EventLoopWait() override;

  std::vector<content::SocketReady> Wait(const std::vector<content::SocketWatch>& sockets,
                                         std::chrono::milliseconds timeout) override;
  void Interrupt() override;

  // Delivers the input held back during waits, oldest first. A handler it runs may wait and
  // hold back more, which comes after. Call it when no handler runs.
  void ReplayHeldInput();
  bool HoldsInput() const { return !held_.empty(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Held {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };

  QEventLoop* loop_ = nullptr;  // the wait under way
  std::deque<Held> held_;
  bool replaying_ = false;
};

}  // namespace app
