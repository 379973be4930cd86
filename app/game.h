#pragma once

#include <memory>
#include <span>
#include <string>

#include "app/dialogs.h"
#include "app/early_start.h"
#include "app/event_loop_wait.h"
#include "app/form1.h"
#include "app/layout_table.h"
#include "content/http_client.h"
#include "game/random_generator.h"
#include "session/game_session.h"

namespace app {

// The game as the program runs it: the network waiter, the game session that fetches through
// it, and the main window given that session. Built in that order and taken down in reverse.
class Game {
 public:
  // The program's way: `start` has begun the session's start-up on a thread of its own, with
  // the session waiting in poll(2); the window finishes it, and the session then waits in
  // the event loop. `start` is built on `session`.
  Game(std::unique_ptr<session::GameSession> session, std::unique_ptr<EarlyStart> start,
       std::string host, Dialogs& dialogs,
       std::span<const ControlEntry> layout = MainWindowLayout());
  // Start-up runs when the window is shown. base_url is "http://host[:port]/folder/"; `host`
  // is the name the no-data message gives. The random generator is the program's one, seeded
  // before the window exists.
  Game(std::string base_url, std::string host, content::HttpLimits limits, Dialogs& dialogs,
       game::RandomGenerator& random, std::span<const ControlEntry> layout = MainWindowLayout());

  TForm1& Window() { return window_; }
  EventLoopWait& NetworkWait() { return wait_; }

 private:
  TForm1::StartUp FinishEarlyStart();
  TForm1::StartUp StartWhenShown();

  EventLoopWait wait_;
  std::unique_ptr<session::GameSession> session_;
  std::unique_ptr<EarlyStart> early_start_;
  TForm1 window_;
};

}  // namespace app
