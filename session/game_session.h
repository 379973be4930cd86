#pragma once

#include <memory>
#include <string>

#include "content/http_client.h"
#include "game/game_state.h"
#include "game/random_generator.h"
#include "session/board.h"
#include "session/name_log.h"
#include "session/text_memo.h"
#include "session/warning_log.h"

namespace session {

// What a click on a choice tile came to.
enum class ClickOutcome {
  kJudged,     // the verdict, the pick and the "Last Task:" copies are in place
  kStopped,    // a step failed: what it had done stays, and no turn follows
  kTurnAgain,  // the last turn gave up in automatic stepping: play the turn again instead
};

// The game between its rules and the window: the game state, the modes, the HTTP client and
// what the window should show. It says, for a turn and for a click, what is fetched in what
// order and where each picture goes, and what a failure leaves behind. Nothing here knows a
// widget; the window maps Shown() onto its controls.
class GameSession {
 public:
  static constexpr int kTurnAttempts = 3;

  // base_url is "http://host[:port]/folder/". The random generator is the program's one,
  // seeded before the session exists. The client waits for the network through `wait`, or
  // blocks when it is null.
  GameSession(std::string base_url, content::HttpLimits limits, game::RandomGenerator& random,
              content::NetworkWait* wait = nullptr);
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Automatic stepping plays the next turn after each judged click and fetches no waiting
  // picture in a turn; hand stepping waits for "Start->Next". Mixed order mixes the table's
  // columns at every turn. A session starts in automatic stepping and fixed order.
  bool AutomaticStepping() const { return automatic_stepping_; }
  void SetAutomaticStepping(bool on) { automatic_stepping_ = on; }
  bool MixedOrder() const { return mixed_order_; }
  void SetMixedOrder(bool on) { mixed_order_ = on; }

  // Start-up as one action with one budget: the start-up picture into the large result
  // picture, the task sequence and the first turn. False when the picture or the turn could
  // not be had.
  bool Start();
  // The order of the tasks: every valid code, shuffled; TaskIndex back to 0.
  void BuildTaskSequence();
  // One turn: up to kTurnAttempts attempts, each skipping the task of the one before. False
  // when every attempt failed; the window then shows no whole task.
  bool PlayTurn();
  // A click on choice tile `tile` (1 to 7), judged against the task on show.
  ClickOutcome Click(int tile);

  const Board& Shown() const { return board_; }
  game::GameState& State() { return *state_; }
  const game::GameState& State() const { return *state_; }
  const TMemo& SchemeMemo() const { return scheme_memo_; }       // the scheme text of the last turn
  const session::NameLog& NameLog() const { return name_log_; }  // the names each attempt read
  content::HttpClient& Client() { return client_; }
  // Where the game's warnings go, whatever part of it finds the fault.
  WarningLog& Log() { return log_; }

 private:
  // One request each: a failure writes its one warning line, then goes on to the caller.
  content::JpegPicture FetchJpeg(const std::string& file_name);
  std::string FetchText(const std::string& file_name);
  void FetchPicture(const std::string& file_name, Slot slot);
  void PlayTurnAttempt();
  void ReadScheme();
  void CopyToLastTask();

  content::HttpClient client_;
  WarningLog log_;
  game::RandomGenerator& random_;
  // About 2 MB, so on the heap; every number starts at zero.
  game::GameStatePtr state_ = game::NewGameState();
  TMemo scheme_memo_;
  session::NameLog name_log_;
  Board board_;
  bool automatic_stepping_ = true;
  bool mixed_order_ = false;
  bool turn_gave_up_ = false;
};

}  // namespace session
