#include "session/name_log.h"

namespace session {

void NameLog::AppendLine(std::string_view line) {
  line = line.substr(0, budget_);
  while (!lines_.empty() && bytes_ + line.size() > budget_) {
    bytes_ -= lines_.front().size();
    lines_.pop_front();
  }
  lines_.emplace_back(line);
  bytes_ += line.size();
}

}  // namespace session
