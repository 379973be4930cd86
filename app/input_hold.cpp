#include "app/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace app {
namespace {

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

InputHold::InputHold(QWidget& window) : window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void InputHold::SetHolding(bool on) {
  holding_ = on;
  if (!on && !held_.empty()) {
    QMetaObject::invokeMethod(
        this, [this] { Deliver(); }, Qt::QueuedConnection);
  }
}

// Input reaches the window first, which passes it on to its widgets: held there, none of it
// reaches a widget until it is delivered again.
bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (!IsInput(event->type()) || watched != window_.windowHandle()) return false;
  if (!holding_ && (held_.empty() || delivering_)) return false;
  held_.emplace_back(event->clone());
  return true;
}

void InputHold::Deliver() {
  if (delivering_) return;  // the delivery under way goes on with what was held meanwhile
  delivering_ = true;
  // A delivered click may run a handler, which holds what comes meanwhile behind the rest.
  while (!held_.empty() && !holding_) {
    const std::unique_ptr<QEvent> next = std::move(held_.front());
    held_.pop_front();
    if (QWindow* window = window_.windowHandle()) QCoreApplication::sendEvent(window, next.get());
  }
  delivering_ = false;
}

}  // namespace app
