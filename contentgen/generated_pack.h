#pragma once

#include "contentgen/pack_writer.h"

namespace contentgen {

// The game's own pack: shape r in colour c at cell [r][c], named like "star-amber.jpg", half
// of the cells progressive JPEGs, and the drawn fixed pictures.
Pack GeneratedPack();

}  // namespace contentgen
