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

void WriteLine(std::ostream& out, const Problem& problem, const char* label) {
  if (problem.line > 0) out << content::kSchemeFile << ':' << problem.line << ": ";
  if (problem.line == 0 || problem.file != content::kSchemeFile) {
    out << Printable(problem.file) << ": ";
  }
  out << label << '[' << problem.kind << "] " << Printable(problem.message) << '\n';
}

QJsonArray JsonList(const std::vector<Problem>& list) {
  QJsonArray array;
  for (const Problem& problem : list) {
    array.append(QJsonObject{{"kind", Text(problem.kind)},
                             {"file", Text(problem.file)},
                             {"line", problem.line},
                             {"message", Text(problem.message)}});
  }
  return array;
}

}  // namespace

bool Passes(const CheckResult& result, bool strict) {
  return result.problems.empty() && (!strict || result.advice.empty());
}

void WriteTextReport(std::ostream& out, const std::string& where, const CheckResult& result) {
  for (const Problem& problem : result.problems) WriteLine(out, problem, "");
  for (const Problem& advice : result.advice) WriteLine(out, advice, "advice ");
  const std::size_t count = result.problems.size();
  out << Printable(where) << ": ";
  if (count == 0) {
    out << "no problems";
  } else {
    out << count << (count == 1 ? " problem" : " problems");
  }
  out << " in " << result.files_checked << " files";
  if (const std::size_t advice = result.advice.size(); advice > 0) {
    out << "; " << advice << (advice == 1 ? " piece" : " pieces")
        << " of advice, which fail the check with --strict only";
  }
  out << '\n';
}

void WriteJsonReport(std::ostream& out, const std::string& where, const CheckResult& result,
                     bool strict) {
  const QJsonObject report{{"source", Text(where)},
                           {"ok", Passes(result, strict)},
                           {"files_checked", result.files_checked},
                           {"problems", JsonList(result.problems)},
                           {"advice", JsonList(result.advice)}};
  out << QJsonDocument(report).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace dravel_content
