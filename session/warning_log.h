#pragma once

#include <QLoggingCategory>
#include <functional>
#include <string>

#include "session/line_limit.h"

namespace session {

// The game's warning lines, each on its logging category, within a LineLimit. Lines held back
// are counted, and the count is written before the next line that may be written.
class WarningLog {
 public:
  using Category = QMessageLogger::CategoryFunction;
  using Now = std::function<LineLimit::Clock::time_point()>;

  explicit WarningLog(Now now = [] { return LineLimit::Clock::now(); });

  void Warn(Category category, const std::string& line);

 private:
  Now now_;
  LineLimit limit_;
};

}  // namespace session
