#pragma once

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

#include "game/game_state.h"

namespace game {

// The lines of the task scheme text. A line ends at CR LF, LF or a lone CR; a final line break
// adds no empty line; a leading UTF-8 byte-order mark is not part of the first line. Long lines
// stay whole. The views point into `text`. Splitting stops after `max_lines`, so that a huge
// text costs no more than the lines that are wanted.
std::vector<std::string_view> SplitSchemeLines(
    std::string_view text, std::size_t max_lines = std::numeric_limits<std::size_t>::max());

// How many lines SplitSchemeLines would give, without keeping them.
std::size_t CountSchemeLines(std::string_view text);

// The lines a turn reads: one per cell of the picture table.
inline constexpr std::size_t kSchemeLines = kTableSize * kTableSize;

// Cell [r][c] becomes line 7r + c, or empty text when there is no such line. Lines from 49 on
// are ignored.
void FillImageNames(ImageNameTable& names, const std::vector<std::string_view>& lines);

}  // namespace game
