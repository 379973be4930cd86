#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace contentgen {

// Seven shapes (the rows of the picture table) and seven colours (its columns).
inline constexpr int kKinds = 7;

struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
};

struct PaletteColour {
  std::string_view name;
  Rgb rgb;
};

// Shape `shape` (0 to 6) by its file-name word: "circle", "triangle", ...
std::string_view ShapeName(int shape);

// Colour `colour` (0 to 6): a palette that stays apart for colour-blind eyes. Colour k carries
// k + 1 dots on its pictures, so the colour reads without seeing it.
const PaletteColour& Colour(int colour);

// "star-amber.jpg": shape word, then colour word.
std::string CellFileName(int shape, int colour);

// Half of the cells are progressive JPEGs, in a checkerboard, so the game meets both kinds.
bool IsProgressiveCell(int shape, int colour);

}  // namespace contentgen
