#include "app/input_hold.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "app/input_copy.h"

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

void InputHold::Defer(std::function<void()> call) { held_.push_back({nullptr, std::move(call)}); }

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
  if (!IsInput(event->type()) || watched != window_.windowHandle() || !Holds()) return false;
  // The press that makes a double-click comes just before it, and the window passes only the
  // double-click on to its widgets.
  if (event->type() == QEvent::MouseButtonDblClick && !held_.empty() && held_.back().input &&
      held_.back().input->type() == QEvent::MouseButtonPress) {
    held_.pop_back();
  }
  held_.push_back({CopyInput(*event), {}});
  return true;
}

void InputHold::Deliver() {
  if (delivering_) return;  // the delivery under way goes on with what was held meanwhile
  // A message box came up meanwhile: the window takes no input until it is gone.
  if (QApplication::activeModalWidget()) {
    QTimer::singleShot(kModalRetry, this, [this] { Deliver(); });
    return;
  }
  delivering_ = true;
  // A delivered click may run a handler, which holds what comes meanwhile behind the rest.
  while (!held_.empty() && !holding_) {
    const Held next = std::move(held_.front());
    held_.pop_front();
    if (!window_.isVisible()) continue;
    if (next.call) {
      next.call();
    } else {
      Send(*next.input);
    }
  }
  delivering_ = false;
}

// Mouse input goes to the widget under it, or to the one that took the press, as the window
// itself would send it; the rest goes through the window to its focus widget.
void InputHold::Send(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      const auto& mouse = static_cast<const QMouseEvent&>(event);
      const bool press =
          mouse.type() == QEvent::MouseButtonPress || mouse.type() == QEvent::MouseButtonDblClick;
      QWidget* target = !press && pressed_ ? pressed_.data() : WidgetAt(mouse.position());
      if (press) pressed_ = target;
      QMouseEvent local(mouse.type(), target->mapFrom(&window_, mouse.position()),
                        mouse.scenePosition(), mouse.globalPosition(), mouse.button(),
                        mouse.buttons(), mouse.modifiers(), mouse.source(), mouse.pointingDevice());
      local.setTimestamp(mouse.timestamp());
      QCoreApplication::sendEvent(target, &local);
      if (mouse.type() == QEvent::MouseButtonRelease && mouse.buttons() == Qt::NoButton) {
        pressed_ = nullptr;
      }
      return;
    }
    case QEvent::Wheel: {
      const auto& wheel = static_cast<const QWheelEvent&>(event);
      QWidget* target = WidgetAt(wheel.position());
      QWheelEvent local(target->mapFrom(&window_, wheel.position()), wheel.globalPosition(),
                        wheel.pixelDelta(), wheel.angleDelta(), wheel.buttons(), wheel.modifiers(),
                        wheel.phase(), wheel.inverted(), wheel.source(), wheel.pointingDevice());
      local.setTimestamp(wheel.timestamp());
      QCoreApplication::sendEvent(target, &local);
      return;
    }
    default:
      if (QWindow* window = window_.windowHandle()) {
        QCoreApplication::sendEvent(window, const_cast<QEvent*>(&event));
      }
  }
}

QWidget* InputHold::WidgetAt(QPointF position) const {
  QWidget* widget = window_.childAt(position.toPoint());
  return widget ? widget : &window_;
}

}  // namespace app
