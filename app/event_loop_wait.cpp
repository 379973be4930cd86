#include "app/event_loop_wait.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

namespace app {
namespace {

// What the player does: held back while a handler waits. Window system events that are not
// input (expose, close, activation, the desktop's ping) pass.
bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::Enter:
    case QEvent::Leave:
      return true;
    default:
      return false;
  }
}

}  // namespace

EventLoopWait::EventLoopWait() { QCoreApplication::instance()->installEventFilter(this); }

EventLoopWait::~EventLoopWait() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

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
  loop.exec();
  loop_ = outer;
  return ready;
}

void EventLoopWait::Interrupt() {
  if (loop_) loop_->quit();
}

// Input reaches a window first, which passes it on to its widgets: held there, none of it
// reaches a widget until it is delivered again. Input that comes while earlier input is still
// held waits behind it.
bool EventLoopWait::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWindowType() || !IsInput(event->type())) return false;
  if (!loop_ && (held_.empty() || replaying_)) return false;
  held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
  return true;
}

void EventLoopWait::ReplayHeldInput() {
  if (replaying_) return;  // the delivery under way goes on with what was held meanwhile
  replaying_ = true;
  while (!held_.empty() && !loop_) {
    const Held next = std::move(held_.front());
    held_.pop_front();
    if (next.receiver) QCoreApplication::sendEvent(next.receiver, next.event.get());
  }
  replaying_ = false;
}

}  // namespace app
