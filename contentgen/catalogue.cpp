#include "contentgen/catalogue.h"

#include <array>
#include <stdexcept>

namespace contentgen {
namespace {

constexpr std::array<std::string_view, kKinds> kShapeNames = {
    "circle", "triangle", "square", "diamond", "star", "cross", "moon"};

// The Okabe-Ito palette without its black.
constexpr std::array<PaletteColour, kKinds> kColours = {{
    {"amber", {0xE6, 0x9F, 0x00}},
    {"sky", {0x56, 0xB4, 0xE9}},
    {"green", {0x00, 0x9E, 0x73}},
    {"yellow", {0xF0, 0xE4, 0x42}},
    {"blue", {0x00, 0x72, 0xB2}},
    {"vermilion", {0xD5, 0x5E, 0x00}},
    {"pink", {0xCC, 0x79, 0xA7}},
}};

int CheckedKind(int index) {
  if (index < 0 || index >= kKinds) throw std::out_of_range("no such shape or colour");
  return index;
}

}  // namespace

std::string_view ShapeName(int shape) { return kShapeNames[CheckedKind(shape)]; }

const PaletteColour& Colour(int colour) { return kColours[CheckedKind(colour)]; }

std::string CellFileName(int shape, int colour) {
  std::string name(ShapeName(shape));
  name += '-';
  name += Colour(colour).name;
  name += ".jpg";
  return name;
}

bool IsProgressiveCell(int shape, int colour) {
  return (CheckedKind(shape) + CheckedKind(colour)) % 2 == 1;
}

}  // namespace contentgen
