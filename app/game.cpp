#include "app/game.h"

#include <utility>

namespace app {

Game::Game(std::string base_url, std::string host, content::HttpLimits limits, Dialogs& dialogs,
           game::RandomGenerator& random, std::span<const ControlEntry> layout)
    : session_(std::move(base_url), limits, random, &wait_),
      window_(session_, std::move(host), dialogs, layout) {}

}  // namespace app
