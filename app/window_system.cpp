#include "app/window_system.h"

#include <QByteArray>
#include <QtGlobal>

namespace app {

void PreferFrameDrawnByTheDesktop() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
  }
}

}  // namespace app
