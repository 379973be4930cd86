#include "session/text_memo.h"

#include "game/scheme_lines.h"

namespace session {

std::vector<std::string_view> TMemo::Lines(std::size_t max_lines) const {
  return game::SplitSchemeLines(text_, max_lines);
}

}  // namespace session
