#pragma once

#include <QAccessibleInterface>
#include <QPointer>
#include <QString>

class QWidget;

namespace app {

// The verdict as a screen reader hears it: an object of the result group with the notification
// role, named after the verdict on show, that shows from the first verdict on and shows anew
// with each. Orca, as Debian 12 has it, speaks a notification as it shows, wherever the focus
// is, and keeps it among the messages it can read again. Qt 6.4 has no announcement, and its
// name and description changes reach the bus without their text, which Orca then cannot speak.
// Not a widget: the player sees the verdict in the result picture, and nothing more.
class VerdictNotice : public QAccessibleInterface {
 public:
  explicit VerdictNotice(QWidget& group);

  void Tell(const QString& verdict);

  bool isValid() const override { return !group_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QString text(QAccessible::Text kind) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override;

 private:
  QPointer<QWidget> group_;
  QString verdict_;  // empty until the first verdict
};

}  // namespace app
