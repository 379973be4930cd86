#include "session/game_session.h"

#include <utility>

#include "content/content_error.h"
#include "content/content_server.h"
#include "game/sequence_builder.h"

namespace session {

GameSession::GameSession(std::string base_url, content::HttpLimits limits,
                         game::RandomGenerator& random, content::NetworkWait* wait)
    : client_(std::move(base_url), limits, wait), random_(random) {}

// A failure leaves the slot's picture as it was.
void GameSession::FetchPicture(const std::string& file_name, Slot slot) {
  board_[slot] = {FetchJpeg(file_name), file_name};
}

bool GameSession::Start() {
  const content::HttpClient::Budget budget(client_);
  try {
    FetchPicture(content::kReadingPicture, Slot::kResult);
  } catch (const content::ContentError&) {
    return false;
  }
  BuildTaskSequence();
  return PlayTurn();
}

void GameSession::BuildTaskSequence() { game::BuildTaskSequence(*state_, random_); }

}  // namespace session
