// Start-up: the game session and its first requests, the application, the game and its one
// main window, the event loop.
#include <QThread>
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/early_start.h"
#include "app/game.h"
#include "app/slot_controls.h"
#include "app/window_system.h"
#include "content/content_server.h"
#include "game/random_generator.h"
#include "session/game_session.h"

int main(int argc, char** argv) {
  // Qt takes the first thread that asks it for its thread as the main one: this one, before
  // the start-up's threads run.
  QThread::currentThread();
  app::PreferFrameDrawnByTheDesktop();
  app::MessageBoxDialogs dialogs;
  game::RandomGenerator random;  // seeded once, before the window exists
  // The start-up's requests and decoding begin at once, beside building the application and
  // its window. What fails here is told once there is an application to tell it.
  std::unique_ptr<session::GameSession> session;
  std::unique_ptr<app::EarlyStart> start;
  std::exception_ptr failed;
  try {
    session = std::make_unique<session::GameSession>(content::ContentBaseUrl(),
                                                     content::HttpLimits{}, random);
    start = std::make_unique<app::EarlyStart>(*session, app::SlotSizes(app::MainWindowLayout()));
  } catch (...) {
    failed = std::current_exception();
  }
  app::Application application(argc, argv, dialogs);
  try {
    if (failed) std::rethrow_exception(failed);
    auto game = std::make_unique<app::Game>(std::move(session), std::move(start),
                                            std::string(content::kContentHost), dialogs);
    app::TForm1& Form1 = game->Window();
    Form1.show();
    if (Form1.isVisible()) application.exec();  // hidden when start-up has already closed it
  } catch (const std::exception& error) {
    dialogs.ShowErrorBox(app::ErrorBoxText(QString::fromLocal8Bit(error.what())));
  }
  return 0;
}
