#pragma once

#include <filesystem>
#include <stdexcept>

#include "contentgen/pack_writer.h"
#include "tools/content/grid_file.h"

namespace dravel_content {

// A source picture that cannot make a good pack picture: "path: what".
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads every source picture of the grid (any format Qt reads, turned upright by its EXIF
// orientation), cuts each to the shape of its box on the window and scales it down to the
// pack's size, and names each cell after its source's file name, made safe for the wire
// and unique. Fixed pictures not in the grid are the game's own. Throws SourceError for a
// picture that cannot be read or is smaller than the box it fills.
contentgen::Pack MakePack(const Grid& grid, const contentgen::PackProgress& progress = {});

}  // namespace dravel_content
