#include "app/event_loop_wait.h"

#include <poll.h>

#include <QSocketNotifier>
#include <algorithm>
#include <stdexcept>

namespace app {
namespace {

// A server near by answers within a fraction of a millisecond. Waiting that long for it in
// poll(2), before the event loop, spares the loop's wake-ups on each request; nothing on the
// screen waits a millisecond.
constexpr int kAtOnceMs = 1;

}  // namespace

// A socket's two notifiers. They report only inside a wait: between requests nobody would take
// their reports. The socket may close while one of them reports, so they go from the event
// loop.
class EventLoopWait::NotifierWatch final : public SocketWatch {
 public:
  NotifierWatch(EventLoopWait& wait, int fd)
      : wait_(wait),
        fd_(fd),
        read_(Notifier(fd, QSocketNotifier::Read)),
        write_(Notifier(fd, QSocketNotifier::Write)) {
    wait_.watches_.push_back(this);
  }

  ~NotifierWatch() override {
    std::erase(wait_.watches_, this);
    for (QSocketNotifier* notifier : {read_, write_}) {
      notifier->setEnabled(false);
      notifier->disconnect();  // what it reports
      notifier->deleteLater();
    }
  }

  void Want(content::Interest interest) override {
    interest_ = interest;
    Arm(wait_.waiting_);
  }

  void Arm(bool waiting) {
    read_->setEnabled(waiting && interest_.read);
    write_->setEnabled(waiting && interest_.write);
  }

  int Fd() const { return fd_; }
  content::Interest Interest() const { return interest_; }

 private:
  QSocketNotifier* Notifier(int fd, QSocketNotifier::Type type) {
    auto* notifier = new QSocketNotifier(fd, type, &wait_);  // gone with the waiter at the latest
    notifier->setEnabled(false);
    const bool read = type == QSocketNotifier::Read;
    QObject::connect(notifier, &QSocketNotifier::activated, &wait_, [this, fd, read] {
      if (wait_.events_) wait_.events_->SocketReady(fd, read, !read);
    });
    return notifier;
  }

  EventLoopWait& wait_;
  int fd_;
  QSocketNotifier* read_;
  QSocketNotifier* write_;
  content::Interest interest_;
};

EventLoopWait::EventLoopWait() {
  timer_.setSingleShot(true);
  // A coarse timer may fire early, and a progress window would then be judged too soon.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (events_) events_->TimerDue();
  });
}

EventLoopWait::~EventLoopWait() = default;

std::unique_ptr<content::NetworkWait::SocketWatch> EventLoopWait::Watch(int fd) {
  return std::make_unique<NotifierWatch>(*this, fd);
}

void EventLoopWait::SetTimer(std::optional<std::chrono::milliseconds> delay) {
  if (delay) {
    timer_.start(*delay);
  } else {
    timer_.stop();
  }
}

void EventLoopWait::Arm(bool waiting) {
  waiting_ = waiting;
  for (NotifierWatch* watch : watches_) watch->Arm(waiting);
}

// Whether the wait ended in poll(2), before the event loop was needed.
bool EventLoopWait::AnsweredAtOnce() {
  std::vector<pollfd> fds;
  for (const NotifierWatch* watch : watches_) {
    if (const pollfd fd = content::PollFor(watch->Fd(), watch->Interest()); fd.events != 0) {
      fds.push_back(fd);
    }
  }
  const int wait_ms = timer_.isActive() ? std::min(timer_.remainingTime(), kAtOnceMs) : kAtOnceMs;
  if (fds.empty() || poll(fds.data(), fds.size(), std::max(wait_ms, 0)) <= 0) return false;
  for (const pollfd& fd : fds) {
    if (!waiting_) break;
    content::ReportPolled(fd, *events_);
  }
  return !waiting_;
}

void EventLoopWait::Run(content::NetworkEvents& events) {
  if (waiting_) throw std::logic_error("a wait for the network inside another");
  QEventLoop loop;
  struct Done {
    EventLoopWait& wait;
    ~Done() {
      wait.loop_ = nullptr;
      wait.events_ = nullptr;
      wait.Arm(false);
    }
  } done{*this};
  events_ = &events;
  waiting_ = true;
  if (AnsweredAtOnce()) return;
  loop_ = &loop;
  Arm(true);
  loop.exec();
}

void EventLoopWait::Stop() {
  waiting_ = false;
  if (loop_) loop_->quit();
}

}  // namespace app
