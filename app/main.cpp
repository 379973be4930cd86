// Start-up: the application, the one main window, the event loop.
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "content/content_server.h"
#include "game/random_generator.h"

int main(int argc, char** argv) {
  app::MessageBoxDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  try {
    game::RandomGenerator random;  // seeded once, before the window exists
    auto Form1 = std::make_unique<app::TForm1>(
        app::ContentServerSettings{
            content::ContentBaseUrl(), std::string(content::kContentHost), {}},
        dialogs, random);
    Form1->show();
    if (Form1->isVisible()) application.exec();  // hidden when start-up has already closed it
  } catch (const std::exception& error) {
    dialogs.ShowErrorBox(app::ErrorBoxText(QString::fromLocal8Bit(error.what())));
  }
  return 0;
}
