#include "game/scheme_lines.h"

#include <cstddef>

namespace game {

std::vector<std::string_view> SplitSchemeLines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch != '\r' && ch != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void FillImageNames(ImageNameTable& names, const std::vector<std::string_view>& lines) {
  for (int r = 0; r < kTableSize; ++r) {
    for (int c = 0; c < kTableSize; ++c) {
      const std::size_t n = static_cast<std::size_t>(kTableSize * r + c);
      names[r][c] = n < lines.size() ? std::string(lines[n]) : std::string();
    }
  }
}

}  // namespace game
