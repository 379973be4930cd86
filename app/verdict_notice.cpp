#include "app/verdict_notice.h"

#include <QWidget>

namespace app {

VerdictNotice::VerdictNotice(QWidget& group) : group_(&group) {}

void VerdictNotice::Tell(const QString& verdict) {
  verdict_ = verdict;
  QAccessibleEvent renamed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&renamed);
  QAccessibleEvent shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

QWindow* VerdictNotice::window() const {
  return group_ ? group_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* VerdictNotice::parent() const {
  return QAccessible::queryAccessibleInterface(group_.data());
}

QString VerdictNotice::text(QAccessible::Text kind) const {
  return kind == QAccessible::Name ? verdict_ : QString();
}

// Where the verdict shows: the result group.
QRect VerdictNotice::rect() const {
  if (!group_) return {};
  return {group_->mapToGlobal(QPoint(0, 0)), group_->size()};
}

QAccessible::State VerdictNotice::state() const {
  QAccessible::State state;
  state.invisible = verdict_.isEmpty() || !group_ || !group_->isVisible();
  return state;
}

}  // namespace app
