#include "app/switch_keys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace app {

SwitchKeys::SwitchKeys(QWidget& window, QAbstractButton& step, QAbstractButton& order)
    : QObject(&window), step_(step), order_(order) {
  window.installEventFilter(this);
}

// The window sees a key that none of its controls took. A disabled switch takes no click.
bool SwitchKeys::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat()) return false;
  const QKeyCombination pressed = key->keyCombination();
  QAbstractButton* button = pressed == kStep ? &step_ : pressed == kOrder ? &order_ : nullptr;
  if (!button) return false;
  button->click();
  return true;
}

}  // namespace app
