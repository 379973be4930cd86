#pragma once

#include <array>

#include "session/board.h"

namespace app {

// The picture control of each of the session's slots, in the order of session::Slot.
inline constexpr std::array<const char*, session::kSlotCount> kSlotControls = {
    "Image1",  "Image2",  "Image3",  "Image4",  "Image5",  "Image29", "Image28", "Image6",
    "Image7",  "Image25", "Image8",  "Image11", "Image9",  "Image16", "Image17", "Image32",
    "Image20", "Image21", "Image22", "Image23", "Image24", "Image30", "Image31",
};

// The slots whose controls the player sees: the choices, the task and the result pictures.
inline bool ShownSlot(session::Slot slot) { return slot <= session::Slot::kWrong; }

}  // namespace app
