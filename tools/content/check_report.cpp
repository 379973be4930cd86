#include "tools/content/check_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "content/content_server.h"

namespace dravel_content {
namespace {

QString Text(const std::string& bytes) { return QString::fromUtf8(bytes.data(), bytes.size()); }

// Names come from the pack: control bytes are shown as \xNN, never sent to the terminal.
std::string Printable(const std::string& text) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0x0F];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

void WriteTextReport(std::ostream& out, const std::string& where, const CheckResult& result) {
  for (const Problem& problem : result.problems) {
    if (problem.line > 0) out << content::kSchemeFile << ':' << problem.line << ": ";
    if (problem.line == 0 || problem.file != content::kSchemeFile) {
      out << Printable(problem.file) << ": ";
    }
    out << '[' << problem.kind << "] " << Printable(problem.message) << '\n';
  }
  const std::size_t count = result.problems.size();
  if (count == 0) {
    out << Printable(where) << ": no problems in " << result.files_checked << " files\n";
  } else {
    out << Printable(where) << ": " << count << (count == 1 ? " problem" : " problems") << " in "
        << result.files_checked << " files\n";
  }
}

void WriteJsonReport(std::ostream& out, const std::string& where, const CheckResult& result) {
  QJsonArray problems;
  for (const Problem& problem : result.problems) {
    problems.append(QJsonObject{{"kind", Text(problem.kind)},
                                {"file", Text(problem.file)},
                                {"line", problem.line},
                                {"message", Text(problem.message)}});
  }
  const QJsonObject report{{"source", Text(where)},
                           {"ok", result.problems.empty()},
                           {"files_checked", result.files_checked},
                           {"problems", problems}};
  out << QJsonDocument(report).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace dravel_content
