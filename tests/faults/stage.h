#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "content/http_client.h"
#include "game/random_generator.h"
#include "recorded_dialogs.h"
#include "tests/support/served_pack.h"
#include "tests/support/test_http_server.h"

namespace faults {

// A loopback content server with a pack of small good files, and the main window that plays
// against it. Cell (r, c) of the scheme, counted from 0, is "cell-<r>-<c>.jpg", each picture a
// colour of its own, so that what a control shows can be told apart.
class Stage {
 public:
  // The host name the no-data text names; the window fetches from the loopback server.
  static constexpr std::string_view kHost = "content.test";
  // Short limits, so that a silent or dripping server fails within seconds.
  static content::HttpLimits Limits();
  static std::string CellName(int r, int c);
  // The good names, row after row: 49 of them.
  static std::vector<std::string> GoodNames();
  // Lines joined, each followed by `line_end`.
  static std::string Join(const std::vector<std::string>& lines, std::string_view line_end);
  static QString NoDataText();

  Stage();

  testsupport::TestHttpServer& Server() { return pack_.server; }
  const std::string& GoodBytes(const std::string& name) const;

  // Every file good again, and only those.
  void Restore();
  // `name` answers with `reply` from now on.
  void Serve(const std::string& name, testsupport::Reply reply);
  void ServeScheme(std::string text);
  // A picture of its own for `name`, served at the folder's target `target` from now on,
  // Restore included.
  void ServeExtraPicture(const std::string& name, const std::string& target);

  // A new window, not yet shown, with its own dialogs and random generator; the old one goes.
  app::TForm1& NewWindow();
  app::TForm1& Window() const { return game_->Window(); }
  RecordedDialogs& Dialogs() { return *dialogs_; }

  // The name of the file whose bytes a control holds: "" when empty, "?" when none matches.
  std::string Shown(const app::TImage* control) const;
  // Targets requested since the log was cleared, without the folder where they start with it.
  std::vector<std::string> Requested() const;
  int RequestsOf(const std::string& name) const;

  // Paints the whole window and delivers what the paint posted (damage reports).
  void Paint();
  // A click on choice tile k (1 to 7), as the player makes it.
  void ClickTile(int k);
  // The choice tile that is right for the task on show.
  int RightTile() const;
  int WrongTile() const;

 private:
  testsupport::ServedPack pack_;                    // the good pack
  std::map<std::string, std::string> extra_names_;  // name -> bytes of the extra pictures
  std::map<std::string, std::string> extras_;       // target -> bytes of the extra pictures
  std::unique_ptr<RecordedDialogs> dialogs_;
  std::unique_ptr<game::RandomGenerator> random_;
  std::unique_ptr<app::Game> game_;
};

}  // namespace faults
