#pragma once

#include <QKeyCombination>
#include <QObject>

class QAbstractButton;
class QWidget;

namespace app {

// Keys for the two switches, which never take the focus and keep their captions: Alt+S presses
// the step switch, Alt+O the order switch. They are keys of the window, so they wait in a
// handler's wait like every key, and each presses its switch as a click does.
class SwitchKeys : public QObject {
 public:
  static constexpr QKeyCombination kStep{Qt::AltModifier, Qt::Key_S};
  static constexpr QKeyCombination kOrder{Qt::AltModifier, Qt::Key_O};

  // Belongs to the window.
  SwitchKeys(QWidget& window, QAbstractButton& step, QAbstractButton& order);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAbstractButton& step_;
  QAbstractButton& order_;
};

}  // namespace app
