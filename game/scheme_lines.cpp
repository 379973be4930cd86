#include "game/scheme_lines.h"

#include <cstddef>

namespace game {

namespace {

// Calls `line` with each line in turn until it returns false.
template <typename LineHandler>
void ForEachLine(std::string_view text, LineHandler line) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch != '\r' && ch != '\n') continue;
    if (!line(text.substr(start, i - start))) return;
    if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) line(text.substr(start));
}

}  // namespace

std::vector<std::string_view> SplitSchemeLines(std::string_view text, std::size_t max_lines) {
  std::vector<std::string_view> lines;
  if (max_lines == 0) return lines;
  ForEachLine(text, [&](std::string_view line) {
    lines.push_back(line);
    return lines.size() < max_lines;
  });
  return lines;
}

std::size_t CountSchemeLines(std::string_view text) {
  std::size_t count = 0;
  ForEachLine(text, [&](std::string_view) {
    ++count;
    return true;
  });
  return count;
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
