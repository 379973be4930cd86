#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>

class QWidget;

namespace app {

// Holds the player's input to the game's window (mouse, keys, wheel, touch) while a handler
// runs, and delivers it in order once the handler has returned, with the calls deferred
// meanwhile, so no handler of the game runs inside another. Only that window's input waits: a
// dialog takes its input at once, and window system events that are not input (expose, close,
// activation, the desktop's ping, the pointer entering and leaving) always pass. Qt's
// ExcludeUserInputEvents is not enough: it holds back the close request and the dialogs.
class InputHold : public QObject {
 public:
  explicit InputHold(QWidget& window);
  ~InputHold() override;

  // While on, the window's input is held. Turned off, what was held is delivered from the
  // event loop; input that comes before that waits behind it.
  void SetHolding(bool on);

  // Whether what comes now waits: while holding, and until what was held has been delivered.
  bool Holds() const { return holding_ || (!held_.empty() && !delivering_); }
  // A call that comes from no input event (assistive technology's press of a control) and
  // must not run now: it is made in turn with the held input, after what came before it.
  void Defer(std::function<void()> call);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // How soon a delivery that met a message box tries again.
  static constexpr std::chrono::milliseconds kModalRetry{100};

  // Input, or a deferred call.
  struct Held {
    std::unique_ptr<QEvent> input;
    std::function<void()> call;
  };

  void Deliver();
  void Send(const QEvent& event);
  QWidget* WidgetAt(QPointF position) const;

  QWidget& window_;
  QPointer<QWidget> pressed_;  // the widget that took the last press delivered
  std::deque<Held> held_;
  bool holding_ = false;
  bool delivering_ = false;
};

}  // namespace app
