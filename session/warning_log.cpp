#include "session/warning_log.h"

#include <utility>

namespace session {

WarningLog::WarningLog(Now now) : now_(std::move(now)) {}

void WarningLog::Warn(Category category, const std::string& line) {
  // A category switched off by the logging rules takes no share of the limit.
  if (!category().isWarningEnabled() || !limit_.Allow(now_())) return;
  if (const int held = limit_.TakeRefused(); held > 0) {
    QMessageLogger().warning(category, "%d lines left out here: too many in a short time", held);
  }
  QMessageLogger().warning(category, "%s", line.c_str());
}

}  // namespace session
