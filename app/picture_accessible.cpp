#include "app/picture_accessible.h"

#include "app/picture_control.h"

namespace app {

PictureAccessible::PictureAccessible(TImage* picture) : QAccessibleWidget(picture) {}

TImage& PictureAccessible::Picture() const { return *static_cast<TImage*>(widget()); }

QAccessible::Role PictureAccessible::role() const {
  return Picture().Pressable() ? QAccessible::Button : QAccessible::Graphic;
}

// Named after its picture only: Qt would name an unnamed picture after its group's title.
QString PictureAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Name) return Picture().accessibleName();
  return QAccessibleWidget::text(kind);
}

QStringList PictureAccessible::actionNames() const {
  if (!Picture().Pressable()) return {};
  return {pressAction(), setFocusAction()};
}

void PictureAccessible::doAction(const QString& action) {
  TImage& picture = Picture();
  if (!picture.Pressable() || !picture.isEnabled()) return;
  if (action == pressAction()) {
    // Not inside the call: it answers at once, and the handler runs from the event loop.
    QMetaObject::invokeMethod(&picture, &TImage::Press, Qt::QueuedConnection);
  } else {
    QAccessibleWidget::doAction(action);
  }
}

QStringList PictureAccessible::keyBindingsForAction(const QString& action) const {
  if (Picture().Pressable() && action == pressAction()) return {QStringLiteral("Space")};
  return QAccessibleWidget::keyBindingsForAction(action);
}

}  // namespace app
