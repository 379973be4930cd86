#pragma once

#include <stdexcept>

namespace game {

// A rule of the game refused its input: a code that does not split into digits, or a digit pair
// outside the picture table.
class GameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace game
