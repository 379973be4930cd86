#include "game/code.h"

#include <string>

#include "game/game_error.h"

namespace game {
namespace {

bool PairsFormValidCode(int a, int b, int c, int d, int e, int f) {
  // Zero-based digits: the pairs (a, b), (c, d), (e, f) share no digit...
  const bool disjoint = a != c && a != d && b != c && b != d && a != e && a != f && b != e &&
                        b != f && c != e && c != f && d != e && d != f;
  // ...and at most one of them is diagonal.
  const int diagonal = (a == b) + (c == d) + (e == f);
  return disjoint && diagonal <= 1;
}

}  // namespace

bool IsValidCode(int code) {
  if (code < 111'111 || code > 777'777) return false;
  int digits[6];
  for (int i = 5; i >= 0; --i, code /= 10) {
    digits[i] = code % 10 - 1;
    if (digits[i] < 0 || digits[i] > 6) return false;
  }
  return PairsFormValidCode(digits[0], digits[1], digits[2], digits[3], digits[4], digits[5]);
}

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
