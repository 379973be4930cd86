#pragma once

#include <QString>
#include <exception>

namespace app {

// Everything the program shows in a message box goes through here, so that tests can see what
// would have been shown without blocking on a modal box.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The application's error message box: its title, the stop icon, one "OK" button.
  virtual void ShowErrorBox(const QString& text) = 0;
  // The no-data dialog: a confirmation with the question icon and one "OK" button.
  virtual void ShowNoDataDialog(const QString& text) = 0;
};

// Modal Qt message boxes, centred on the screen.
class MessageBoxDialogs : public Dialogs {
 public:
  void ShowErrorBox(const QString& text) override;
  void ShowNoDataDialog(const QString& text) override;
};

// The error box's text for an error message: a full stop is added when the message is not empty
// and its last character comes after "." in the character table.
QString ErrorBoxText(const QString& message);

// Runs `action`; what it lets out is shown in the error box, a failure that carries no message
// with an empty text. The one place where the program catches every error, for main, the event
// loop and the window's handlers. False when `action` failed.
template <typename Action>
bool ShowingErrors(Dialogs& dialogs, Action&& action) {
  try {
    action();
    return true;
  } catch (const std::exception& error) {
    dialogs.ShowErrorBox(ErrorBoxText(QString::fromLocal8Bit(error.what())));
  } catch (...) {
    dialogs.ShowErrorBox(QString());
  }
  return false;
}

}  // namespace app
