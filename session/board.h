#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "content/jpeg_picture.h"

namespace session {

// The window's picture controls, by the role each plays. The window maps each slot onto its
// control; nothing here knows the controls.
enum class Slot : std::size_t {
  kChoice1,
  kChoice2,
  kChoice3,
  kChoice4,
  kChoice5,
  kChoice6,
  kChoice7,  // left to right
  kTask1,
  kTask2,
  kTask3,   // left to right
  kResult,  // the large result picture: the start-up and right-answer pictures
  kWrong,   // the small result picture under it: the wrong-answer picture
  kPick,    // "Last Task:": the picked tile's picture
  kLastTask1,
  kLastTask2,
  kLastTask3,
  kLastChoice1,
  kLastChoice2,
  kLastChoice3,
  kLastChoice4,
  kLastChoice5,
  kLastChoice6,
  kLastChoice7,
  kCount
};

inline constexpr std::size_t kSlotCount = static_cast<std::size_t>(Slot::kCount);

constexpr Slot ChoiceSlot(int tile) {  // tile 1 to 7
  return static_cast<Slot>(static_cast<std::size_t>(Slot::kChoice1) + tile - 1);
}
constexpr Slot TaskSlot(int tile) {  // tile 1 to 3
  return static_cast<Slot>(static_cast<std::size_t>(Slot::kTask1) + tile - 1);
}
constexpr Slot LastChoiceSlot(int tile) {
  return static_cast<Slot>(static_cast<std::size_t>(Slot::kLastChoice1) + tile - 1);
}
constexpr Slot LastTaskSlot(int tile) {
  return static_cast<Slot>(static_cast<std::size_t>(Slot::kLastTask1) + tile - 1);
}

// A picture as fetched, with the file name it came from.
struct ShownPicture {
  content::JpegPicture picture;
  std::string name;
};

// What the window shows: a picture per slot, and which of the two result pictures are visible.
struct Board {
  std::array<ShownPicture, kSlotCount> pictures;
  bool result_visible = true;
  bool wrong_visible = true;

  ShownPicture& operator[](Slot slot) { return pictures[static_cast<std::size_t>(slot)]; }
  const ShownPicture& operator[](Slot slot) const {
    return pictures[static_cast<std::size_t>(slot)];
  }
};

}  // namespace session
