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
  void ShowErrorBox(const QString& text) override;
  void ShowNoDataDialog(const QString& text) override;
  int Shown() const { return shown_; }
  const QString& LastText() const { return last_text_; }

 private:
  int shown_ = 0;
  QString last_text_;
};

class OffscreenGame {
 public:
  OffscreenGame(std::string base_url, app::Dialogs& dialogs);

  // Makes the window visible, which runs the start-up screen. Throws when start-up failed.
  void Start();
  app::TForm1& Form() const { return game_->Window(); }

  // The choice tile (1 to 7, left to right) that the task on show makes right.
  int RightTile() const;
  app::TImage& ChoiceTile(int tile) const;
  // A mouse click on choice tile 1 to 7; returns when the handler has.
  void Click(int tile);
  // The ten tiles a turn fills: the seven choices, then the three task tiles.
  std::array<app::TImage*, 10> TurnTiles() const;
  // What a click on `tile` requests in automatic stepping and fixed order: the verdict
  // picture, the pick, then the next turn's scheme and ten pictures. Throws std::logic_error in
  // any other mode, where the next turn's names cannot be told in advance.
  std::vector<std::string> ClickUrls(int tile) const;
  // The task position the next turn plays.
  int NextTaskIndex() const;

  // Lets the window paint what the last handler changed, as the event loop would.
  static void Paint();

 private:
  game::RandomGenerator random_;
  std::unique_ptr<app::Game> game_;
};

// Selects Qt's offscreen platform; call before the application object exists.
void UseOffscreenPlatform();
// The process's resident memory (VmRSS).
std::size_t ResidentBytes();

}  // namespace bench
