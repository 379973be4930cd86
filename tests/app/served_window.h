#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "recording_dialogs.h"
#include "tests/support/served_pack.h"

// A main window playing against a loopback content server with the tests' small pack.
class ServedWindow : public testing::Test {
 protected:
  ServedWindow();

  static std::string CellName(int r, int c);
  // The scheme text: exactly 49 lines, CR LF.
  static std::string SchemeText();

  // A new game and window in place of the old one, not yet shown.
  void MakeWindow(content::HttpLimits limits,
                  std::span<const app::ControlEntry> layout = app::MainWindowLayout());
  // Makes the window visible, which runs the start-up screen.
  void Start();
  // The window with the start-up done and the request log cleared.
  void StartAndClearRequests();

  // The name of the served file whose bytes a control shows; "" when it is empty, "?" when no
  // served file matches.
  std::string Shown(const app::TImage* control) const;
  // The file names requested since the log was cleared, in order.
  std::vector<std::string> Requested() const;
  // Puts `code` at the position the next turn plays.
  void PlantNextCode(int code);
  // Puts `code` at the position of the task on show.
  void PlantCurrentCode(int code);
  // Serves a name with a 404 from now on.
  void Remove(const std::string& name);
  void ServeJpeg(const std::string& name, int shade);

  testsupport::ServedPack pack_;
  testsupport::TestHttpServer& server_ = pack_.server;
  RecordingDialogs dialogs_;
  game::RandomGenerator random_;
  std::unique_ptr<app::Game> game_;
  app::TForm1* form_ = nullptr;
};
