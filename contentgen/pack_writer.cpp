#include "contentgen/pack_writer.h"

#include <fstream>
#include <stdexcept>
#include <vector>

#include "content/content_server.h"
#include "contentgen/catalogue.h"
#include "contentgen/cell_picture.h"
#include "contentgen/fixed_pictures.h"
#include "contentgen/jpeg_writer.h"

namespace contentgen {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadableByAll =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kOpenFolder = fs::perms::owner_all | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read |
                                  fs::perms::others_exec;

void WriteWhole(const fs::path& folder, const std::string& name, const std::string& bytes) {
  const fs::path target = folder / name;
  const fs::path part = folder / ("." + name + ".part");
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + part.string());
  }
  fs::permissions(part, kReadableByAll);
  fs::rename(part, target);
}

// Creates the missing folders of `folder` and opens those (only those) for reading by all, so
// that a web server's worker user can walk into them.
void MakeFolder(const fs::path& folder) {
  std::vector<fs::path> missing;
  for (fs::path p = fs::absolute(folder); !p.empty() && !fs::exists(p); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  fs::create_directories(folder);
  for (const fs::path& p : missing) fs::permissions(p, kOpenFolder);
  if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + " is not a folder");
}

}  // namespace

std::string SchemeText() {
  std::string text;
  for (int shape = 0; shape < kKinds; ++shape) {
    for (int colour = 0; colour < kKinds; ++colour) {
      text += CellFileName(shape, colour);
      text += "\r\n";
    }
  }
  return text;
}

void WritePack(const fs::path& folder) {
  MakeFolder(folder);
  for (int shape = 0; shape < kKinds; ++shape) {
    for (int colour = 0; colour < kKinds; ++colour) {
      const JpegOptions options{.progressive = IsProgressiveCell(shape, colour)};
      WriteWhole(folder, CellFileName(shape, colour),
                 EncodeJpeg(RenderCell(shape, colour), options));
    }
  }
  WriteWhole(folder, content::kReadingPicture, EncodeJpeg(RenderWaiting(), {.progressive = false}));
  WriteWhole(folder, content::kRightPicture, EncodeJpeg(RenderRight(), {.progressive = true}));
  WriteWhole(folder, content::kWrongPicture, EncodeJpeg(RenderWrong(), {.progressive = false}));
  WriteWhole(folder, content::kSchemeFile, SchemeText());
}

}  // namespace contentgen
