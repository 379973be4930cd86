#pragma once

#include <QSize>

namespace contentgen {

// Where the game shows each picture, in logical pixels of its window: the picture is stretched
// to fill the box. A picture smaller than its box looks blurry.
inline constexpr QSize kTaskTileBox(180, 180);
inline constexpr QSize kChoiceTileBox(80, 80);
inline constexpr QSize kResultBox(161, 172);  // the waiting and the right picture
inline constexpr QSize kWrongBox(73, 49);

// The sizes a pack's pictures are made at: sharp on a screen of twice the density, and of the
// aspect ratio of their box, so that stretching does not distort them. A cell picture fills
// a task tile and a choice tile, both square.
inline constexpr int kCellPictureSize = 360;
inline constexpr QSize kCellPicture(kCellPictureSize, kCellPictureSize);
inline constexpr QSize kResultPicture(360, 385);
inline constexpr QSize kWrongPicture(536, 360);

}  // namespace contentgen
