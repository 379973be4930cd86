// A turn: reads the task scheme, puts the choices and the next task up.
#include "content/content_error.h"
#include "content/content_server.h"
#include "game/code.h"
#include "game/column_mix.h"
#include "game/game_error.h"
#include "game/scheme_lines.h"
#include "game/sequence_builder.h"
#include "game/turn_cells.h"
#include "session/game_session.h"
#include "session/log_categories.h"

namespace session {

bool GameSession::PlayTurn() {
  // After a time-out the server is likely silent still: the attempts that follow wait briefly.
  struct FullWaitsAgain {
    content::HttpClient& client;
    ~FullWaitsAgain() { client.ShortenWaits(false); }
  } full_waits_again{client_};
  // A failed attempt starts the turn over, a bounded number of times, keeping what it had
  // done: pictures already replaced, the names read and, past the advance, the skipped task.
  // An attempt that would start with the action's time spent would fail at once, unasked.
  // Each failed fetch has written its line; the turn says once that it gave up.
  int attempts = 0;
  while (attempts < kTurnAttempts && !client_.OutOfTime()) {
    ++attempts;
    qCDebug(lcTurn, "attempt %d of %d", attempts, kTurnAttempts);
    try {
      PlayTurnAttempt();
      turn_gave_up_ = false;
      return true;
    } catch (const content::TimeoutError&) {
      client_.ShortenWaits(true);
    } catch (const content::ContentError&) {
    } catch (const game::GameError& error) {
      log_.Warn(lcTurn, std::string("a turn's attempt failed: ") + error.what());
    }
  }
  const std::string spent = client_.OutOfTime() ? ": the action's time is spent" : "";
  log_.Warn(lcTurn, attempts == 0
                        ? "a turn gave up before its first attempt" + spent
                        : "a turn gave up after " + std::to_string(attempts) +
                              (attempts == 1 ? " failed attempt" : " failed attempts") + spent);
  turn_gave_up_ = true;
  return false;
}

void GameSession::PlayTurnAttempt() {
  if (!automatic_stepping_) FetchPicture(content::kReadingPicture, Slot::kResult);
  ReadScheme();
  for (int tile = 1; tile <= game::kChoiceTiles; ++tile) {
    FetchPicture(game::NameAt(state_->ImageNames, game::ChoiceCell(tile)), ChoiceSlot(tile));
  }

  state_->TaskIndex = game::NextTaskIndex(state_->TaskIndex, state_->CodeCount);
  const auto cells =
      game::TaskCells(game::SplitCodeDigits(game::TaskAt(*state_, state_->TaskIndex)));
  for (int tile = 1; tile <= game::kTaskTiles; ++tile) {
    FetchPicture(game::NameAt(state_->ImageNames, cells[tile - 1]), TaskSlot(tile));
  }
}

// The table of names, from the scheme file's order (then mixed, in mixed order).
void GameSession::ReadScheme() {
  scheme_memo_.SetText(FetchText(content::kSchemeFile));
  game::FillImageNames(state_->ImageNames, scheme_memo_.Lines(game::kSchemeLines));
  for (const auto& row : state_->ImageNames) {
    for (const std::string& name : row) name_log_.AppendLine(name);
  }
  if (mixed_order_) game::MixColumns(state_->ImageNames, random_);
}

}  // namespace session
