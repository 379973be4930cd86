#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace app {

// Tells a screen reader each verdict once it shows. Orca, as Debian 12 has it, reads a change to
// the name or description of the control with the focus, and Qt 6.4 has no announcement: so
// the window's focused control takes the verdict as its description, emptied first so that the
// same verdict twice is a change twice, until the focus leaves it.
class VerdictTeller : public QObject {
 public:
  explicit VerdictTeller(QWidget& window);

  void Tell(const QString& verdict);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void GiveBack();

  QWidget& window_;
  QPointer<QWidget> told_;
  QString own_description_;  // what the told control said before
};

}  // namespace app
