#pragma once

#include <string_view>
#include <vector>

#include "game/game_state.h"

namespace game {

// The lines of the task scheme text. A line ends at CR LF, LF or a lone CR; a final line break
// adds no empty line; a leading UTF-8 byte-order mark is not part of the first line. Long lines
// stay whole. The views point into `text`.
std::vector<std::string_view> SplitSchemeLines(std::string_view text);

// Cell [r][c] becomes line 7r + c, or empty text when there is no such line. Lines from 49 on
// are ignored.
void FillImageNames(ImageNameTable& names, const std::vector<std::string_view>& lines);

}  // namespace game
