#include "app/event_loop_wait.h"

#include <stdexcept>

namespace app {

EventLoopWait::EventLoopWait() {
  timer_.setSingleShot(true);
  // A coarse timer may fire early, and a progress window would then be judged too soon.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (events_) events_->TimerDue();
  });
}

EventLoopWait::~EventLoopWait() = default;

std::unique_ptr<QSocketNotifier> EventLoopWait::Notifier(int fd, QSocketNotifier::Type type) {
  auto notifier = std::make_unique<QSocketNotifier>(fd, type);
  notifier->setEnabled(false);
  const bool read = type == QSocketNotifier::Read;
  QObject::connect(notifier.get(), &QSocketNotifier::activated, this, [this, fd, read] {
    if (events_) events_->SocketReady(fd, read, !read);
  });
  return notifier;
}

// Notifiers report only inside a wait: between requests nobody would take their reports.
void EventLoopWait::Arm(Socket& socket) {
  const bool waiting = loop_ != nullptr;
  if (socket.read) socket.read->setEnabled(waiting && socket.want_read);
  if (socket.write) socket.write->setEnabled(waiting && socket.want_write);
}

void EventLoopWait::Retire(std::unique_ptr<QSocketNotifier> notifier) {
  if (!notifier) return;
  notifier->setEnabled(false);
  retired_.push_back(std::move(notifier));
}

void EventLoopWait::Watch(int fd, bool read, bool write) {
  if (!read && !write) {
    const auto found = sockets_.find(fd);
    if (found == sockets_.end()) return;
    Retire(std::move(found->second.read));
    Retire(std::move(found->second.write));
    sockets_.erase(found);
    return;
  }
  Socket& socket = sockets_[fd];
  socket.want_read = read;
  socket.want_write = write;
  if (read && !socket.read) socket.read = Notifier(fd, QSocketNotifier::Read);
  if (write && !socket.write) socket.write = Notifier(fd, QSocketNotifier::Write);
  Arm(socket);
}

void EventLoopWait::SetTimer(std::optional<std::chrono::milliseconds> delay) {
  if (delay) {
    timer_.start(*delay);
  } else {
    timer_.stop();
  }
}

void EventLoopWait::Run(content::NetworkEvents& events) {
  if (loop_) throw std::logic_error("a wait for the network inside another");
  QEventLoop loop;
  struct Waiting {
    EventLoopWait& wait;
    ~Waiting() {
      wait.loop_ = nullptr;
      wait.events_ = nullptr;
      for (auto& [fd, socket] : wait.sockets_) wait.Arm(socket);
      wait.retired_.clear();
    }
  } waiting{*this};
  loop_ = &loop;
  events_ = &events;
  for (auto& [fd, socket] : sockets_) Arm(socket);
  loop.exec();
}

void EventLoopWait::Stop() {
  if (loop_) loop_->quit();
}

}  // namespace app
