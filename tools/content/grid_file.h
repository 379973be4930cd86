#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

namespace dravel_content {

// An author's list of source pictures for `dravel-content build`, one a line:
//
//   # comments and blank lines are skipped
//   photos/red circle.png        <- 49 of these, row by row: 7 of row 1, then 7 of row 2...
//   reading.jpg: photos/question.png    <- optional: a fixed picture, by its file name
//
// Relative paths are from the GRID file's folder. Spaces around a path are dropped.
struct Grid {
  std::vector<std::filesystem::path> cells;
  std::optional<std::filesystem::path> waiting;
  std::optional<std::filesystem::path> right;
  std::optional<std::filesystem::path> wrong;
};

// A GRID that cannot be read, or that breaks the rules above: "GRID:LINE: what".
class GridError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Grid ReadGrid(const std::filesystem::path& grid_file);

}  // namespace dravel_content
