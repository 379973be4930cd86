#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/game.h"
#include "game/random_generator.h"

// The main window on Qt's offscreen platform, playing against a real content server and
// clicked as a player would: what the turn, paint and soak figures measure.
namespace bench {

// Counts the message boxes the program would have shown, instead of blocking on them.
class CountingDialogs : public app::Dialogs {
 public:
  void ShowErrorBox(const QString& text) override { Count(text); }
  void ShowNoDataDialog(const QString& text) override { Count(text); }
  int Shown() const { return shown_; }
  const QString& LastText() const { return last_text_; }

 private:
  void Count(const QString& text) {
    ++shown_;
    last_text_ = text;
  }

  int shown_ = 0;
  QString last_text_;
};

// What a turn of a measure clicks, and what must follow.
struct Pick {
  int tile;       // 1 to 7, left to right
  bool right;     // every third pick is wrong
  int next_task;  // the task position the turn after the click plays
};

class OffscreenGame {
 public:
  OffscreenGame(std::string base_url, CountingDialogs& dialogs);

  // Makes the window visible, which runs the start-up screen. Throws when start-up failed.
  void Start();
  app::TForm1& Form() const { return game_->Window(); }

  // The pick of turn `turn` (counted from 0) for the task on show.
  Pick PickFor(int turn) const;
  // A mouse click on choice tile 1 to 7; returns when the handler has.
  void Click(int tile);
  // Throws unless the pick's verdict and the next task are on show, and no box came up.
  void ExpectPlayed(const Pick& pick) const;
  // The ten tiles a turn fills: the seven choices, then the three task tiles.
  std::array<app::TImage*, 10> TurnTiles() const;
  // What a click on `tile` requests in automatic stepping and fixed order: the verdict
  // picture, the pick, then the next turn's scheme and ten pictures. Throws std::logic_error in
  // any other mode, where the next turn's names cannot be told in advance.
  std::vector<std::string> ClickUrls(int tile) const;

  // Lets the window paint what the last handler changed, as the event loop would.
  static void Paint();

 private:
  // The picture control that shows `slot`, as the window's layout says.
  app::TImage& Showing(session::Slot slot) const;

  CountingDialogs& dialogs_;
  game::RandomGenerator random_;
  std::unique_ptr<app::Game> game_;
};

// Selects Qt's offscreen platform; call before the application object exists.
void UseOffscreenPlatform();
// The process's resident memory (VmRSS).
std::size_t ResidentBytes();

}  // namespace bench
