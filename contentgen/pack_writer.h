#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace contentgen {

struct PackPicture {
  std::string name;  // the file name, as the scheme lists it
  QImage image;
  bool progressive = false;
};

// Everything a content pack holds: the 49 cell pictures row by row (cell [r][c] is line
// 7r + c of the scheme) and the three fixed pictures, which take their fixed names.
struct Pack {
  std::vector<PackPicture> cells;
  QImage waiting;
  QImage right;
  QImage wrong;
};

// The task scheme: one name a line, each line ended by CR LF.
std::string SchemeText(const std::vector<std::string>& names);

// Called before each file is written, with the files done and the files in all.
using PackProgress = std::function<void(int done, int total, const std::string& name)>;

struct PackWriteOptions {
  // Each cell's file, and its line of the scheme, named after its bytes (ContentHashedName):
  // a rewritten picture never takes an old one's name. Every cell's name must end in ".jpg".
  bool hash_names = false;
};

// Encodes every picture as a JPEG the game reads well and writes the pack into `folder`,
// creating it when missing. Every file appears whole (written beside its place, then renamed)
// and readable by all, so a server may serve the folder while it is rewritten; the scheme
// comes last, so that it never names a picture not yet there. Throws std::runtime_error or
// filesystem_error on failure, and std::invalid_argument for a pack without 49 cells.
void WritePack(const Pack& pack, const std::filesystem::path& folder,
               const PackProgress& progress = {}, const PackWriteOptions& options = {});

}  // namespace contentgen
