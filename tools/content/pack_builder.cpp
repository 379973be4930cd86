#include "tools/content/pack_builder.h"

#include <QImageReader>
#include <QString>
#include <set>
#include <string>

#include "content/content_server.h"
#include "contentgen/fixed_pictures.h"
#include "contentgen/picture_fit.h"
#include "contentgen/picture_sizes.h"
#include "contentgen/safe_name.h"

namespace dravel_content {
namespace {

namespace fs = std::filesystem;

QImage ReadSource(const fs::path& path, QSize box, QSize size) {
  QImageReader reader(QString::fromStdString(path.string()));
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) {
    throw SourceError(path.string() + ": " + reader.errorString().toStdString());
  }
  const QImage fitted = contentgen::FitPicture(image, size);
  if (fitted.width() < box.width() || fitted.height() < box.height()) {
    throw SourceError(path.string() + ": " + std::to_string(image.width()) + " x " +
                      std::to_string(image.height()) + " is too small for the " +
                      std::to_string(box.width()) + " x " + std::to_string(box.height()) +
                      " box it fills, and would look blurry");
  }
  return fitted;
}

// The source's own name, safe and not yet taken; "cell-R-C.jpg" when nothing of it is left.
std::string CellName(const fs::path& source, int cell, std::set<std::string>& taken) {
  std::string name = contentgen::SafeFileName(source.stem().string());
  if (name.empty()) {
    name = "cell-" + std::to_string(cell / 7 + 1) + "-" + std::to_string(cell % 7 + 1) + ".jpg";
  }
  const std::string stem = name.substr(0, name.size() - 4);
  for (int n = 2; taken.count(name) != 0; ++n) name = stem + "-" + std::to_string(n) + ".jpg";
  taken.insert(name);
  return name;
}

}  // namespace

contentgen::Pack MakePack(const Grid& grid, const contentgen::PackProgress& progress) {
  const int total = int(grid.cells.size()) + 3;
  std::set<fs::path> sources;
  std::set<std::string> taken = {content::kSchemeFile, content::kReadingPicture,
                                 content::kRightPicture, content::kWrongPicture};
  contentgen::Pack pack;
  for (std::size_t i = 0; i < grid.cells.size(); ++i) {
    const fs::path& source = grid.cells[i];
    if (progress) progress(int(i), total, source.filename().string());
    if (!sources.insert(fs::weakly_canonical(source)).second) {
      throw SourceError(source.string() + ": listed twice; every cell needs a picture of its own");
    }
    pack.cells.push_back(
        {.name = CellName(source, int(i), taken),
         .image = ReadSource(source, contentgen::kTaskTileBox, contentgen::kCellPicture)});
  }
  int done = int(grid.cells.size());
  const auto fixed = [&](const std::optional<fs::path>& source, QSize box, QSize size,
                         QImage (*render)()) {
    if (progress && source) progress(done, total, source->filename().string());
    ++done;
    return source ? ReadSource(*source, box, size) : render();
  };
  pack.waiting = fixed(grid.waiting, contentgen::kResultBox, contentgen::kResultPicture,
                       contentgen::RenderWaiting);
  pack.right = fixed(grid.right, contentgen::kResultBox, contentgen::kResultPicture,
                     contentgen::RenderRight);
  pack.wrong =
      fixed(grid.wrong, contentgen::kWrongBox, contentgen::kWrongPicture, contentgen::RenderWrong);
  return pack;
}

}  // namespace dravel_content
