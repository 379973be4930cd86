// Start-up: the application, the game and its one main window, the event loop.
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/game.h"
#include "app/window_system.h"
#include "content/content_server.h"
#include "game/random_generator.h"

int main(int argc, char** argv) {
  app::PreferFrameDrawnByTheDesktop();
  app::MessageBoxDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  try {
    game::RandomGenerator random;  // seeded once, before the window exists
    auto game =
        std::make_unique<app::Game>(content::ContentBaseUrl(), std::string(content::kContentHost),
                                    content::HttpLimits{}, dialogs, random);
    app::TForm1& Form1 = game->Window();
    Form1.show();
    if (Form1.isVisible()) application.exec();  // hidden when start-up has already closed it
  } catch (const std::exception& error) {
    dialogs.ShowErrorBox(app::ErrorBoxText(QString::fromLocal8Bit(error.what())));
  }
  return 0;
}
