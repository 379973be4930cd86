#include "game/code.h"

#include <string>

#include "game/game_error.h"

namespace game {

CodeDigits SplitCodeDigits(int code) {
  const std::string text = std::to_string(code);
  if (text.size() < 6) {
    throw GameError("the code " + text + " has fewer than six digits");
  }
  CodeDigits digits{};
  for (int i = 0; i < 6; ++i) {
    const char ch = text[i];
    if (ch < '0' || ch > '9') throw GameError("the code " + text + " is not a decimal number");
    digits[i] = ch - '0';
  }
  return digits;
}

}  // namespace game
