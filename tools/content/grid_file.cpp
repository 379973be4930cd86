#include "tools/content/grid_file.h"

#include <fstream>
#include <string>
#include <string_view>

#include "content/content_server.h"

namespace dravel_content {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCells = 49;
constexpr std::size_t kMaxLineBytes = 4096;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

Grid ReadGrid(const fs::path& grid_file) {
  std::ifstream in(grid_file);
  if (!in) throw GridError(grid_file.string() + ": cannot be read");
  const fs::path base = grid_file.parent_path();
  Grid grid;
  std::string line;
  int number = 0;
  const auto fail = [&](const std::string& what) {
    throw GridError(grid_file.string() + ":" + std::to_string(number) + ": " + what);
  };
  while (std::getline(in, line)) {
    ++number;
    if (line.size() > kMaxLineBytes) fail("a line longer than any path");
    std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    std::optional<fs::path>* fixed = nullptr;
    const std::string_view key = Trimmed(text.substr(0, text.find(':')));
    if (key == content::kReadingPicture) fixed = &grid.waiting;
    if (key == content::kRightPicture) fixed = &grid.right;
    if (key == content::kWrongPicture) fixed = &grid.wrong;
    if (fixed != nullptr) {
      if (fixed->has_value()) fail(std::string(key) + " is given twice");
      text = Trimmed(text.substr(text.find(':') + 1));
      if (text.empty()) fail("no picture given for " + std::string(key));
      *fixed = base / fs::path(text);
      continue;
    }
    if (grid.cells.size() == kCells) fail("more than 49 pictures: a pack has 7 rows of 7");
    grid.cells.push_back(base / fs::path(text));
  }
  if (in.bad()) throw GridError(grid_file.string() + ": cannot be read");
  if (grid.cells.size() != kCells) {
    throw GridError(grid_file.string() + ": " + std::to_string(grid.cells.size()) +
                    " pictures; a pack needs 49, 7 rows of 7");
  }
  return grid;
}

}  // namespace dravel_content
