// dravel-content: makes and checks the game's content packs.
//
//   dravel-content check [--json] [--strict] URL|FOLDER
//   dravel-content sheet URL|FOLDER OUT.png
//   dravel-content build [--hash-names] GRID OUT
#include <QGuiApplication>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "content/content_error.h"
#include "contentgen/pack_writer.h"
#include "tools/content/check_report.h"
#include "tools/content/contact_sheet.h"
#include "tools/content/grid_file.h"
#include "tools/content/pack_builder.h"
#include "tools/content/pack_check.h"
#include "tools/content/pack_source.h"
#include "tools/content/progress_line.h"

namespace {

namespace fs = std::filesystem;
using dravel_content::ProgressLine;

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

constexpr char kUsage[] =
    "usage: dravel-content check [--json] [--strict] URL|FOLDER\n"
    "       dravel-content sheet URL|FOLDER OUT.png\n"
    "       dravel-content build [--hash-names] GRID OUT\n"
    "\n"
    "check  reads the scheme and every file the game would ask for, from a content server\n"
    "       (http://host/uploads/all/dravel/1/) or a pack's folder, and prints each problem\n"
    "       (what breaks play) with the scheme line and file it concerns, then each piece\n"
    "       of advice (what only looks or caches less well: of a server, what its answers\n"
    "       tell caches). Exit status 0 when there is no problem; with --strict, only when\n"
    "       there is no advice either.\n"
    "sheet  draws the 7 x 7 table as a PNG: row and column numbers, each picture and its\n"
    "       name, the diagonal (the choice tiles) framed.\n"
    "build  makes a pack in the folder OUT from GRID, a text file that lists 49 source\n"
    "       pictures (any format Qt reads) row by row, one a line, and optionally the\n"
    "       fixed pictures as \"reading.jpg: PATH\", \"ok.jpg: PATH\", \"no.jpg: PATH\";\n"
    "       then checks it. --hash-names names each cell's file after its bytes\n"
    "       (name.<16 hex digits>.jpg), so caches may keep the pictures for a year.\n";

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int Check(const std::vector<std::string>& args) {
  bool json = false;
  bool strict = false;
  std::string where;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg.starts_with("-") || !where.empty()) {
      throw UsageError("check takes [--json], [--strict] and one URL or FOLDER");
    } else {
      where = arg;
    }
  }
  if (where.empty()) throw UsageError("check needs a URL or FOLDER");
  auto source = dravel_content::OpenPackSource(where);
  dravel_content::CheckResult result;
  {
    ProgressLine line("checking");
    result = dravel_content::CheckPack(*source, [&](int done, int total, const std::string& name) {
      line.Show(done, total, name);
    });
  }
  if (json) {
    dravel_content::WriteJsonReport(std::cout, source->Where(), result, strict);
  } else {
    dravel_content::WriteTextReport(std::cout, source->Where(), result);
  }
  std::cout.flush();
  if (!std::cout) return kFailed;
  return dravel_content::Passes(result, strict) ? 0 : kFailed;
}

int Sheet(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("sheet takes a URL or FOLDER and OUT.png");
  if (!args[1].ends_with(".png")) throw UsageError(args[1] + ": the sheet is a PNG, OUT.png");
  auto source = dravel_content::OpenPackSource(args[0]);
  QImage sheet;
  {
    ProgressLine line("drawing");
    sheet = dravel_content::RenderContactSheet(
        *source,
        [&](int done, int total, const std::string& name) { line.Show(done, total, name); });
  }
  if (!sheet.save(QString::fromStdString(args[1]), "PNG")) {
    std::cerr << "dravel-content: cannot write " << args[1] << '\n';
    return kFailed;
  }
  std::cout << args[1] << ": the table of " << source->Where() << '\n';
  return 0;
}

int Build(const std::vector<std::string>& args) {
  contentgen::PackWriteOptions options;
  std::vector<std::string> paths;
  for (const std::string& arg : args) {
    if (arg == "--hash-names") {
      options.hash_names = true;
    } else if (arg.starts_with("-")) {
      throw UsageError("build takes [--hash-names], GRID and OUT");
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 2) throw UsageError("build takes [--hash-names], GRID and OUT");
  if (!fs::is_regular_file(paths[0])) throw UsageError(paths[0] + ": no such GRID file");
  const dravel_content::Grid grid = dravel_content::ReadGrid(paths[0]);
  contentgen::Pack pack;
  {
    ProgressLine line("reading");
    pack = dravel_content::MakePack(
        grid, [&](int done, int total, const std::string& name) { line.Show(done, total, name); });
  }
  {
    ProgressLine line("writing");
    contentgen::WritePack(
        pack, paths[1],
        [&](int done, int total, const std::string& name) { line.Show(done, total, name); },
        options);
  }
  std::cout << "wrote the pack into " << paths[1] << "; checking it:\n";
  return Check({paths[1]});
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "check") return Check(rest);
  if (command == "sheet") return Sheet(rest);
  if (command == "build") return Build(rest);
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  throw UsageError("no command \"" + command + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  // Text and pictures need a GUI application, but nothing is ever shown: no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QGuiApplication application(qt_argc, argv);
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "dravel-content: " << error.what() << "\n\n" << kUsage;
    return kBadArguments;
  } catch (const std::invalid_argument& error) {
    std::cerr << "dravel-content: " << error.what() << '\n';
    return kBadArguments;
  } catch (const std::exception& error) {
    std::cerr << "dravel-content: " << error.what() << '\n';
    return kFailed;
  }
}
