#include "app/slot_controls.h"

#include <string_view>

namespace app {

std::array<QSize, session::kSlotCount> SlotSizes(std::span<const ControlEntry> layout) {
  std::array<QSize, session::kSlotCount> sizes{};
  for (std::size_t slot = 0; slot < session::kSlotCount; ++slot) {
    for (const ControlEntry& entry : layout) {
      if (std::string_view(entry.name) == kSlotControls[slot]) {
        sizes[slot] = QSize(entry.width, entry.height);
      }
    }
  }
  return sizes;
}

}  // namespace app
