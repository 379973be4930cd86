#pragma once

#include <QImage>

namespace contentgen {

inline constexpr int kCellPictureSize = 360;

// The picture of table cell (shape, colour), both 0 to 6: the shape filled with the colour,
// and colour + 1 white dots along the bottom as the colour's mark that needs no colour vision.
QImage RenderCell(int shape, int colour);

}  // namespace contentgen
