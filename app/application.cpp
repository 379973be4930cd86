#include "app/application.h"

#include <QStyleFactory>

#include "app/application_title.h"

namespace app {

Application::Application(int& argc, char** argv, Dialogs& dialogs)
    : QApplication(argc, argv), dialogs_(dialogs) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
  setApplicationVersion(QStringLiteral(DRAVEL_VERSION));
  setOrganizationName(QStringLiteral("Qovex"));
  setDesktopFileName(QStringLiteral(DRAVEL_DESKTOP_ID));
  // One look everywhere, whatever desktop theme the machine has.
  setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  ShowingErrors(dialogs_, [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace app
