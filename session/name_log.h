#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace session {

// The names every turn attempt read, oldest first. Nothing reads them back, and a hostile
// scheme can name 32 MiB a turn: the log keeps only its newest lines within a byte budget.
class NameLog {
 public:
  // About five thousand turns of ordinary names.
  static constexpr std::size_t kBudgetBytes = std::size_t{1} << 20;

  explicit NameLog(std::size_t budget_bytes = kBudgetBytes) : budget_(budget_bytes) {}

  // A line longer than the whole budget is kept cut to it.
  void AppendLine(std::string_view line);
  std::size_t LineCount() const { return lines_.size(); }
  std::size_t Bytes() const { return bytes_; }
  const std::string& Line(std::size_t index) const { return lines_.at(index); }

 private:
  std::deque<std::string> lines_;
  std::size_t bytes_ = 0;
  std::size_t budget_;
};

}  // namespace session
