#pragma once

#include <QApplication>

#include "app/dialogs.h"

namespace app {

// The application object. Qt does not let exceptions pass through its event loop: an error
// that escapes the delivery of an event is shown in the error box, and the program goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv, Dialogs& dialogs);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Dialogs& dialogs_;
};

}  // namespace app
