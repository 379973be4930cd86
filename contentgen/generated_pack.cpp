#include "contentgen/generated_pack.h"

#include "contentgen/catalogue.h"
#include "contentgen/cell_picture.h"
#include "contentgen/fixed_pictures.h"

namespace contentgen {

Pack GeneratedPack() {
  Pack pack;
  for (int shape = 0; shape < kKinds; ++shape) {
    for (int colour = 0; colour < kKinds; ++colour) {
      pack.cells.push_back({.name = CellFileName(shape, colour),
                            .image = RenderCell(shape, colour),
                            .progressive = IsProgressiveCell(shape, colour)});
    }
  }
  pack.waiting = RenderWaiting();
  pack.right = RenderRight();
  pack.wrong = RenderWrong();
  return pack;
}

}  // namespace contentgen
