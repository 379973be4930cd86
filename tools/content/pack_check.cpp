#include "tools/content/pack_check.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string_view>

#include "content/content_error.h"
#include "content/content_server.h"
#include "content/fetch_failure.h"
#include "content/http_client.h"
#include "content/jpeg_picture.h"
#include "content/jpeg_probe.h"
#include "content/request_target.h"
#include "contentgen/content_name.h"
#include "contentgen/picture_sizes.h"
#include "game/scheme_lines.h"
#include "tools/content/cache_rules.h"

namespace dravel_content {
namespace {

// Pictures are read up to this size, so that one over the game's cap is reported with its size
// rather than as a failed request.
constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

struct Picture {
  std::string name;
  int line = 0;  // the first line that names it; 0 for a fixed picture
  QSize box;
};

class Checker {
 public:
  explicit Checker(PackSource& source) : source_(source) {}

  CheckResult Run(const CheckProgress& progress) {
    const std::vector<std::string> names = CheckScheme();
    std::vector<Picture> pictures;
    std::set<std::string> seen;
    for (std::size_t n = 0; n < names.size(); ++n) {
      if (!names[n].empty() && seen.insert(names[n]).second) {
        pictures.push_back({names[n], int(n) + 1, contentgen::kTaskTileBox});
      }
    }
    pictures.push_back({content::kReadingPicture, 0, contentgen::kResultBox});
    pictures.push_back({content::kRightPicture, 0, contentgen::kResultBox});
    pictures.push_back({content::kWrongPicture, 0, contentgen::kWrongBox});
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      if (progress) progress(int(i) + 1, int(pictures.size()) + 1, pictures[i].name);
      CheckPicture(pictures[i]);
    }
    // Top to bottom in the scheme; the fixed pictures, which no line names, last.
    for (std::vector<Problem>* list : {&result_.problems, &result_.advice}) {
      std::stable_sort(list->begin(), list->end(),
                       [](const Problem& a, const Problem& b) { return Order(a) < Order(b); });
    }
    return std::move(result_);
  }

 private:
  static int Order(const Problem& problem) {
    if (problem.line > 0) return problem.line;
    return problem.file == content::kSchemeFile ? 0 : std::numeric_limits<int>::max();
  }

  void Report(std::string kind, std::string file, int line, std::string message,
              bool advice = false) {
    (advice ? result_.advice : result_.problems)
        .push_back({std::move(kind), std::move(file), line, std::move(message)});
  }
  void ReportLine(const char* kind, int line, std::string message, bool advice = false) {
    Report(kind, content::kSchemeFile, line, std::move(message), advice);
  }

  // Reports what a server's answer for the file tells caches. False when it is a redirect:
  // the file itself cannot be had there.
  bool CheckCaching(const std::string& name, int line, CachedFile file) {
    const auto headers = source_.CacheHeadersOf(name);
    if (!headers) return true;
    for (CacheFinding& finding : JudgeCaching(*headers, file)) {
      Report(std::move(finding.kind), name, line, std::move(finding.message), finding.advice);
    }
    return headers->status < 300 || headers->status > 399;
  }

  // The names of the cells the game reads; only names worth fetching are kept, the others
  // are left empty.
  std::vector<std::string> CheckScheme() {
    std::string text;
    ++result_.files_checked;
    if (!CheckCaching(content::kSchemeFile, 0, CachedFile::kScheme)) return {};
    try {
      text = source_.Read(content::kSchemeFile, content::kMaxTextBytes);
    } catch (const content::FetchError& error) {
      Report("unreachable", content::kSchemeFile, 0, content::FailureCause(error));
      return {};
    }
    if (std::string_view(text).starts_with("\xEF\xBB\xBF")) {
      ReportLine("byte-order-mark", 1,
                 "the scheme starts with a UTF-8 byte-order mark: save it without one");
    }
    const std::size_t count = game::CountSchemeLines(text);
    if (count < game::kSchemeLines) {
      ReportLine("line-count", int(count),
                 std::to_string(count) + " lines, not 49: the cells past line " +
                     std::to_string(count) + " stay empty and their tasks are skipped");
    } else if (count > game::kSchemeLines) {
      ReportLine("line-count", int(game::kSchemeLines) + 1,
                 std::to_string(count) + " lines, not 49: the game never reads past line 49", true);
    }
    const auto lines = game::SplitSchemeLines(text, game::kSchemeLines);
    std::vector<std::string> names;
    std::map<std::string_view, int> first_line;
    for (std::size_t n = 0; n < lines.size(); ++n) {
      names.push_back(CheckName(lines[n], int(n) + 1, first_line) ? std::string(lines[n]) : "");
    }
    return names;
  }

  // False when the name is not worth fetching.
  bool CheckName(std::string_view name, int line, std::map<std::string_view, int>& first_line) {
    const std::string quoted = "\"" + std::string(name) + "\"";
    if (name.empty()) {
      ReportLine("empty-line", line,
                 "an empty line: the game asks for the bare folder and skips the task");
      return false;
    }
    const auto [first, fresh] = first_line.emplace(name, line);
    if (!fresh) {
      ReportLine("duplicate-name", line,
                 quoted + " is already on line " + std::to_string(first->second) +
                     ": two cells show one picture, and their tasks have no single answer");
    }
    const std::string escaped = content::EscapeFileName(name);
    if (escaped != name) {
      ReportLine("escaped-bytes", line,
                 quoted + " holds bytes that go on the wire escaped, as \"" + escaped +
                     "\": name the file with ASCII letters, digits, '-', '_' and '.' only");
    }
    if (name.find('/') != std::string_view::npos) {
      ReportLine("not-in-folder", line, quoted + " is not a file directly in the game's folder");
      return false;
    }
    for (const char* fixed : {content::kSchemeFile, content::kReadingPicture,
                              content::kRightPicture, content::kWrongPicture}) {
      if (name == fixed) {
        ReportLine("fixed-name", line,
                   quoted + " is one of the game's fixed files, not a picture of the table");
      }
    }
    return true;
  }

  void CheckPicture(const Picture& picture) {
    const auto report = [&](const char* kind, const std::string& message) {
      Report(kind, picture.name, picture.line, message);
    };
    ++result_.files_checked;
    if (!CheckCaching(picture.name, picture.line, CachedFile::kPicture)) return;
    std::string bytes;
    try {
      bytes = source_.Read(picture.name, kMaxReadBytes);
    } catch (const content::FetchError& error) {
      report("unreachable", content::FailureCause(error));
      return;
    }
    // The game's own caps, from its own client and picture code, in the game's words.
    const std::size_t max_bytes = content::kMaxPictureBytes;
    if (bytes.size() > max_bytes) {
      report("over-limits",
             content::BodyOverCap(max_bytes) + ": it has " + std::to_string(bytes.size()));
      return;
    }
    if (bytes.empty()) {
      report("not-jpeg", "an empty file: the game shows nothing in its place");
      return;
    }
    if (const auto named = contentgen::HashInName(picture.name)) {
      const std::string hash = contentgen::ContentHash(bytes);
      if (hash != *named) {
        report("wrong-hash", "the name says the bytes hash to " + *named + ", but they hash to " +
                                 hash +
                                 ": caches keep a hashed name for a year, so a picture "
                                 "rewritten under it may never reach players; write it under "
                                 "a new name (dravel-content build --hash-names)");
      }
    }
    content::JpegPicture jpeg;
    try {
      jpeg = content::JpegPicture::Load(bytes);
    } catch (const content::UnsupportedJpeg& error) {
      report("unsupported", content::FailureCause(error));
      return;
    } catch (const content::JpegError& error) {
      const auto header = content::ProbeJpegHeader(bytes);
      if (header) {
        report("over-limits", SizeText(header->width, header->height) + ": the game refuses it (" +
                                  content::FailureCause(error) + ")");
      } else {
        report("not-jpeg", content::FailureCause(error));
      }
      return;
    }
    try {
      jpeg.DecodeFull();
    } catch (const content::JpegError& error) {
      report("damaged", content::FailureCause(error) + ": the game shows nothing of it");
      return;
    }
    if (const std::string patched = jpeg.Patched(); !patched.empty()) {
      report("damaged",
             "damaged JPEG data: " + patched + ": the game shows it only as far as it decodes");
      return;
    }
    const content::JpegInfo& info = jpeg.Info();
    if (info.width < picture.box.width() || info.height < picture.box.height()) {
      Report("blurry", picture.name, picture.line,
             SizeText(info.width, info.height) + ", smaller than the " +
                 SizeText(picture.box.width(), picture.box.height()) +
                 " box it fills: stretched, it looks blurry",
             true);
    }
  }

  PackSource& source_;
  CheckResult result_;
};

}  // namespace

CheckResult CheckPack(PackSource& source, const CheckProgress& progress) {
  return Checker(source).Run(progress);
}

}  // namespace dravel_content
