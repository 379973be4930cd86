// A click on a choice tile: the verdict and the "Last Task:" record.
#include "content/content_error.h"
#include "content/content_server.h"
#include "game/code.h"
#include "game/game_error.h"
#include "game/judge.h"
#include "game/turn_cells.h"
#include "session/game_session.h"
#include "session/log_categories.h"

namespace session {

ClickOutcome GameSession::Click(int tile) {
  // After a turn that gave up, the table may name nothing the server has, so judging would
  // fail at the pick every time and never reach the next turn: with automatic stepping, where
  // "Start->Next" is disabled, the click plays the turn again instead.
  if (turn_gave_up_ && automatic_stepping_) return ClickOutcome::kTurnAgain;
  try {
    state_->JudgedTaskIndex = state_->TaskIndex;
    const game::CodeDigits digits =
        game::SplitCodeDigits(game::TaskAt(*state_, state_->JudgedTaskIndex));
    if (game::IsRightPick(digits, tile, tile)) {
      FetchPicture(content::kRightPicture, Slot::kResult);
      board_.wrong_visible = false;
      board_.result_visible = true;
    } else {
      FetchPicture(content::kWrongPicture, Slot::kWrong);
      board_.result_visible = false;
      board_.wrong_visible = true;
    }
    FetchPicture(game::NameAt(state_->ImageNames, game::ChoiceCell(tile)), Slot::kPick);
    CopyToLastTask();
    return ClickOutcome::kJudged;
  } catch (const content::ContentError&) {
  } catch (const game::GameError& error) {
    log_.Warn(lcTurn, std::string("a click could not be judged: ") + error.what());
  }
  return ClickOutcome::kStopped;
}

// The task, the choices and the pick of the judged click, kept in the "Last Task:" group.
void GameSession::CopyToLastTask() {
  for (int tile = 1; tile <= game::kTaskTiles; ++tile) {
    board_[LastTaskSlot(tile)] = board_[TaskSlot(tile)];
  }
  for (int tile = 1; tile <= game::kChoiceTiles; ++tile) {
    board_[LastChoiceSlot(tile)] = board_[ChoiceSlot(tile)];
  }
}

}  // namespace session
