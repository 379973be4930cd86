#include "app/event_loop_wait.h"

#include <QSocketNotifier>
#include <stdexcept>

namespace app {

// A socket's two notifiers. They report only inside a wait: between requests nobody would take
// their reports. The socket may close while one of them reports, so they go from the event
// loop.
class EventLoopWait::NotifierWatch final : public SocketWatch {
 public:
  NotifierWatch(EventLoopWait& wait, int fd)
      : wait_(wait),
        read_(Notifier(fd, QSocketNotifier::Read)),
        write_(Notifier(fd, QSocketNotifier::Write)) {}

  ~NotifierWatch() override {
    for (QSocketNotifier* notifier : {read_, write_}) {
      notifier->setEnabled(false);
      notifier->disconnect();                                   // what it reports
      QObject::disconnect(&wait_, nullptr, notifier, nullptr);  // the waits it follows
      notifier->deleteLater();
    }
  }

  void Want(content::Interest interest) override {
    interest_ = interest;
    Arm(wait_.loop_ != nullptr);
  }

 private:
  QSocketNotifier* Notifier(int fd, QSocketNotifier::Type type) {
    auto* notifier = new QSocketNotifier(fd, type, &wait_);  // gone with the waiter at the latest
    notifier->setEnabled(false);
    const bool read = type == QSocketNotifier::Read;
    QObject::connect(notifier, &QSocketNotifier::activated, &wait_, [this, fd, read] {
      if (wait_.events_) wait_.events_->SocketReady(fd, read, !read);
    });
    QObject::connect(&wait_, &EventLoopWait::Waiting, notifier, [this](bool on) { Arm(on); });
    return notifier;
  }

  void Arm(bool waiting) {
    read_->setEnabled(waiting && interest_.read);
    write_->setEnabled(waiting && interest_.write);
  }

  EventLoopWait& wait_;
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

void EventLoopWait::Run(content::NetworkEvents& events) {
  if (loop_) throw std::logic_error("a wait for the network inside another");
  QEventLoop loop;
  struct Done {
    EventLoopWait& wait;
    ~Done() {
      wait.loop_ = nullptr;
      wait.events_ = nullptr;
      emit wait.Waiting(false);
    }
  } done{*this};
  loop_ = &loop;
  events_ = &events;
  emit Waiting(true);
  loop.exec();
}

void EventLoopWait::Stop() {
  if (loop_) loop_->quit();
}

}  // namespace app
