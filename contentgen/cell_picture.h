#pragma once

#include <QImage>

#include "contentgen/picture_sizes.h"

namespace contentgen {

// The picture of table cell (shape, colour), both 0 to 6: the shape filled with the colour,
// and colour + 1 white dots under it as the colour's mark that needs no colour vision.
QImage RenderCell(int shape, int colour);

}  // namespace contentgen
