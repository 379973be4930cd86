#include "contentgen/pack_writer.h"

#include <fstream>
#include <set>
#include <stdexcept>

#include "content/content_server.h"
#include "contentgen/content_name.h"
#include "contentgen/jpeg_writer.h"

namespace contentgen {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCells = 49;

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

// Each cell a file of its own, directly in the folder, apart from the fixed pictures. Hashed
// names stay apart as well: each is its cell's unique name with a hash put before ".jpg".
void CheckNames(const Pack& pack, const PackWriteOptions& options) {
  if (pack.cells.size() != kCells) {
    throw std::invalid_argument("a pack has 49 cell pictures, not " +
                                std::to_string(pack.cells.size()));
  }
  std::set<std::string> taken = {content::kSchemeFile, content::kReadingPicture,
                                 content::kRightPicture, content::kWrongPicture};
  for (const PackPicture& cell : pack.cells) {
    if (cell.name.empty() || cell.name.find('/') != std::string::npos || cell.name.front() == '.') {
      throw std::invalid_argument("\"" + cell.name + "\" cannot name a file of the pack");
    }
    if (!taken.insert(cell.name).second) {
      throw std::invalid_argument("two pictures of the pack are named " + cell.name);
    }
    if (options.hash_names && !cell.name.ends_with(".jpg")) {
      throw std::invalid_argument("\"" + cell.name +
                                  "\" cannot take a hash: it does not end in .jpg");
    }
  }
}

}  // namespace

std::string SchemeText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    text += name;
    text += "\r\n";
  }
  return text;
}

void WritePack(const Pack& pack, const fs::path& folder, const PackProgress& progress,
               const PackWriteOptions& options) {
  CheckNames(pack, options);
  MakeFolder(folder);
  const struct {
    const char* name;
    const QImage& image;
    bool progressive;
  } fixed[] = {{content::kReadingPicture, pack.waiting, false},
               {content::kRightPicture, pack.right, true},
               {content::kWrongPicture, pack.wrong, false}};
  const int total = int(kCells) + 4;
  int done = 0;
  auto write = [&](const std::string& name, const std::string& bytes) {
    if (progress) progress(done, total, name);
    WriteWhole(folder, name, bytes);
    ++done;
  };
  std::vector<std::string> names;
  for (const PackPicture& cell : pack.cells) {
    const std::string bytes = EncodeJpeg(cell.image, {.progressive = cell.progressive});
    names.push_back(options.hash_names ? ContentHashedName(cell.name, bytes) : cell.name);
    write(names.back(), bytes);
  }
  for (const auto& picture : fixed) {
    write(picture.name, EncodeJpeg(picture.image, {.progressive = picture.progressive}));
  }
  write(content::kSchemeFile, SchemeText(names));
}

}  // namespace contentgen
