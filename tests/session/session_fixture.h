#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/random_generator.h"
#include "session/game_session.h"
#include "tests/support/served_pack.h"

// A game session, without a window, playing against the tests' small pack: started, with the
// first task on show and the request log cleared.
class SessionTest : public testing::Test {
 protected:
  SessionTest();

  // The served file a slot shows: "" when empty, "?" when no served file matches.
  std::string Shown(session::Slot slot) const;
  // Puts `code` at the position the next turn plays, or at the one on show.
  void PlantNextCode(int code);
  void PlantCurrentCode(int code);
  game::GameState& State() { return session_.State(); }

  testsupport::ServedPack pack_;
  game::RandomGenerator random_;
  session::GameSession session_;
};
