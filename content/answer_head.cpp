#include "content/answer_head.h"

#include <cctype>
#include <charconv>

namespace content {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// Whether a comma-separated list holds `token`, in any case.
bool HasToken(std::string_view list, std::string_view token) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view item = Trim(list.substr(0, comma));
    if (item.size() == token.size() && StartsWithNoCase(item, token)) return true;
    if (comma == list.npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

// Every value of a Content-Length field, which may list the same number more than once.
// Nothing when the values differ; a value that is no number is libcurl's to refuse.
std::optional<std::size_t> FieldLength(std::string_view value, bool& disagree) {
  std::optional<std::size_t> length;
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    const std::string_view item = Trim(value.substr(0, comma));
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (error == std::errc() && end == item.data() + item.size()) {
      if (length && *length != number) disagree = true;
      length = number;
    }
    if (comma == value.npos) break;
    value.remove_prefix(comma + 1);
  }
  return length;
}

}  // namespace

bool AnswerHead::Take(std::string_view line) {
  bytes_ += line.size();
  if (bytes_ > kMaxBytes) {
    too_large_ = true;
    return false;
  }
  // A status line starts the head of a new answer (an interim 1xx answer may come first).
  if (line.starts_with("HTTP/")) {
    length_.reset();
    content_type_.clear();
    http11_ = line.starts_with("HTTP/1.1 ");
    framed_ = closes_ = false;
    return true;
  }
  if (StartsWithNoCase(line, "content-type:")) {
    content_type_ = Trim(line.substr(13));
    return true;
  }
  if (StartsWithNoCase(line, "connection:")) {
    closes_ |= HasToken(line.substr(11), "close");
    return true;
  }
  if (StartsWithNoCase(line, "transfer-encoding:")) {
    framed_ = true;
    return true;
  }
  constexpr std::string_view kField = "content-length:";
  if (!StartsWithNoCase(line, kField)) return true;
  framed_ = true;
  const std::optional<std::size_t> length =
      FieldLength(line.substr(kField.size()), lengths_disagree_);
  if (length && length_ && *length_ != *length) lengths_disagree_ = true;
  if (length) length_ = *length;
  return !lengths_disagree_;
}

}  // namespace content
