// The rule told to players, applied to picture names alone, must pick the very tile that the
// game judges right, in fixed and in mixed order alike.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/code.h"
#include "game/column_mix.h"
#include "game/judge.h"
#include "game/random_generator.h"
#include "game/scheme_lines.h"
#include "tests/contentgen/pack_files.h"
#include "tests/game/valid_code.h"

namespace contentgen_test {
namespace {

std::string ShapeWord(const std::string& name) { return name.substr(0, name.find('-')); }

std::string ColourWord(const std::string& name) {
  const std::size_t dash = name.find('-');
  return name.substr(dash + 1, name.rfind('.') - dash - 1);
}

// The player's view: a task tile that is one of the choices answers the task; otherwise the one
// choice whose shape and colour both appear on no task tile. -1 when the rule gives no single
// answer.
int PlayersAnswer(const game::ImageNameTable& names, const game::CodeDigits& d) {
  std::vector<std::string> task;
  for (int pair = 0; pair < 3; ++pair) task.push_back(names[d[2 * pair] - 1][d[2 * pair + 1] - 1]);
  std::vector<int> answers;
  for (int k = 0; k < 7; ++k) {
    for (const std::string& tile : task) {
      if (tile == names[k][k]) answers.push_back(k);
    }
  }
  if (!answers.empty()) return answers.size() == 1 ? answers[0] : -1;
  std::set<std::string> shapes;
  std::set<std::string> colours;
  for (const std::string& tile : task) {
    shapes.insert(ShapeWord(tile));
    colours.insert(ColourWord(tile));
  }
  for (int k = 0; k < 7; ++k) {
    if (!shapes.contains(ShapeWord(names[k][k])) && !colours.contains(ColourWord(names[k][k]))) {
      answers.push_back(k);
    }
  }
  return answers.size() == 1 ? answers[0] : -1;
}

std::vector<int> AllValidCodes() {
  std::vector<int> codes;
  for (int code = 111111; code <= 777777; ++code) {
    if (testoracle::IsValidCode(code)) codes.push_back(code);
  }
  return codes;
}

TEST(PlayerRule, FindsTheRightTileInFixedAndMixedOrder) {
  const std::string scheme = ReadWholeFile(BuiltPackFolder() / "shemoftask.txt");
  const std::vector<int> codes = AllValidCodes();
  ASSERT_EQ(codes.size(), 12'600u);
  game::RandomGenerator random;
  for (int order = 0; order < 8; ++order) {
    game::ImageNameTable names;
    game::FillImageNames(names, game::SplitSchemeLines(scheme));
    if (order > 0) game::MixColumns(names, random);
    for (int code : codes) {
      const game::CodeDigits digits = game::SplitCodeDigits(code);
      const int answer = PlayersAnswer(names, digits);
      ASSERT_NE(answer, -1) << "no single answer for " << code << " in order " << order;
      for (int k = 0; k < 7; ++k) {
        ASSERT_EQ(game::IsRightPick(digits, k + 1, k + 1), k == answer)
            << "code " << code << ", tile " << k + 1 << ", order " << order;
      }
    }
  }
}

}  // namespace
}  // namespace contentgen_test
