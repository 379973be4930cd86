#include "app/screen_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace app {

void SetScreenCursor(ScreenCursor cursor) {
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  if (cursor == ScreenCursor::Hourglass)
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

}  // namespace app
