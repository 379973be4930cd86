#include "app/event_loop_wait.h"

#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace app {

std::vector<content::SocketReady> EventLoopWait::Wait(
    const std::vector<content::SocketWatch>& sockets, std::chrono::milliseconds timeout) {
  std::vector<content::SocketReady> ready;
  QEventLoop loop;
  const auto mark = [&ready, &loop](int fd, bool read) {
    ready.push_back({fd, read, !read});
    loop.quit();
  };
  std::vector<std::unique_ptr<QSocketNotifier>> notifiers;
  for (const content::SocketWatch& socket : sockets) {
    for (const bool read : {true, false}) {
      if (read ? !socket.read : !socket.write) continue;
      auto notifier = std::make_unique<QSocketNotifier>(
          socket.fd, read ? QSocketNotifier::Read : QSocketNotifier::Write);
      QObject::connect(notifier.get(), &QSocketNotifier::activated,
                       [mark, fd = socket.fd, read] { mark(fd, read); });
      notifiers.push_back(std::move(notifier));
    }
  }
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(timeout);

  QEventLoop* const outer = loop_;
  loop_ = &loop;
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  loop_ = outer;
  return ready;
}

void EventLoopWait::Interrupt() {
  if (loop_) loop_->quit();
}

}  // namespace app
