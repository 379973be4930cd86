#include "app/game.h"

#include <utility>

namespace app {

Game::Game(std::unique_ptr<session::GameSession> session, std::unique_ptr<EarlyStart> start,
           std::string host, Dialogs& dialogs, std::span<const ControlEntry> layout)
    : session_(std::move(session)),
      early_start_(std::move(start)),
      window_(*session_, FinishEarlyStart(), std::move(host), dialogs, layout) {}

Game::Game(std::string base_url, std::string host, content::HttpLimits limits, Dialogs& dialogs,
           game::RandomGenerator& random, std::span<const ControlEntry> layout)
    : session_(std::make_unique<session::GameSession>(std::move(base_url), limits, random, &wait_)),
      window_(*session_, StartWhenShown(), std::move(host), dialogs, layout) {}

TForm1::StartUp Game::FinishEarlyStart() {
  return [this] {
    StartOutcome outcome = early_start_->Finish();
    session_->Client().SetWait(&wait_);
    return outcome;
  };
}

TForm1::StartUp Game::StartWhenShown() {
  return [this] {
    StartOutcome outcome;
    outcome.started = session_->Start();
    return outcome;
  };
}

}  // namespace app
