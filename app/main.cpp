// Start-up: the application, the game with its one main window, the event loop. Showing the
// window runs its start-up screen before it comes on the screen.
#include <string>

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
  app::ShowingErrors(dialogs, [&] {
    game::RandomGenerator random;  // seeded once, before the window exists
    app::Game game(content::ContentBaseUrl(), std::string(content::kContentHost),
                   content::HttpLimits{}, dialogs, random);
    app::TForm1& Form1 = game.Window();
    Form1.show();
    if (Form1.isVisible()) application.exec();  // hidden when start-up has closed it
  });
  return 0;
}
