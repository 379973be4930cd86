#pragma once

#include <span>
#include <string>

#include "app/dialogs.h"
#include "app/event_loop_wait.h"
#include "app/form1.h"
#include "app/layout_table.h"
#include "content/http_client.h"
#include "game/random_generator.h"
#include "session/game_session.h"

namespace app {

// The game: the network waiter, the game session that fetches through it, and the main window
// given that session. Built in that order and taken down in reverse. Start-up runs when the
// window is first shown.
class Game {
 public:
  // base_url is "http://host[:port]/folder/"; `host` is the name the no-data message gives.
  // The random generator is the program's one, seeded before the window exists.
  Game(std::string base_url, std::string host, content::HttpLimits limits, Dialogs& dialogs,
       game::RandomGenerator& random, std::span<const ControlEntry> layout = MainWindowLayout());

  TForm1& Window() { return window_; }

 private:
  EventLoopWait wait_;
  session::GameSession session_;
  TForm1 window_;
};

}  // namespace app
