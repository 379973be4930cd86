#pragma once

#include <ostream>

#include "tools/content/pack_check.h"

namespace dravel_content {

// One line a problem, "shemoftask.txt:12: [empty-line] ..." for the scheme and
// "shemoftask.txt:5: star-amber.jpg: [not-jpeg] ..." for a picture it names, then a summary.
void WriteTextReport(std::ostream& out, const std::string& where, const CheckResult& result);

// {"source": ..., "ok": ..., "files_checked": ..., "problems": [{"kind", "file", "line",
// "message"}...]}; names that are not UTF-8 carry U+FFFD for their stray bytes.
void WriteJsonReport(std::ostream& out, const std::string& where, const CheckResult& result);

}  // namespace dravel_content
