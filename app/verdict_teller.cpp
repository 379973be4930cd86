#include "app/verdict_teller.h"

#include <QEvent>
#include <QWidget>

namespace app {

VerdictTeller::VerdictTeller(QWidget& window) : window_(window) {}

void VerdictTeller::Tell(const QString& verdict) {
  QWidget* focus = window_.focusWidget();
  if (focus != told_) {
    GiveBack();
    if (!focus) return;
    told_ = focus;
    own_description_ = focus->accessibleDescription();
    focus->installEventFilter(this);
  }
  focus->setAccessibleDescription(QString());
  focus->setAccessibleDescription(verdict);
}

// Given back once the focus has gone on: by then the screen reader follows another control,
// and does not read the old description out.
bool VerdictTeller::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && watched == told_) {
    QMetaObject::invokeMethod(
        this, [this] { GiveBack(); }, Qt::QueuedConnection);
  }
  return false;
}

void VerdictTeller::GiveBack() {
  if (!told_) return;
  told_->removeEventFilter(this);
  told_->setAccessibleDescription(own_description_);
  told_ = nullptr;
}

}  // namespace app
