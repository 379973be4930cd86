#include "session/text_memo.h"

#include <utility>

#include "game/scheme_lines.h"

namespace session {

void TMemo::SetText(std::string text) {
  text_ = std::move(text);
  line_count_ = game::CountSchemeLines(text_);
}

std::vector<std::string_view> TMemo::Lines(std::size_t max_lines) const {
  return game::SplitSchemeLines(text_, max_lines);
}

void TMemo::AppendLine(std::string_view line) {
  // A text without a final line break gets one first, as a text box would show it.
  if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += "\r\n";
  text_.append(line);
  text_ += "\r\n";
  ++line_count_;
}

}  // namespace session
