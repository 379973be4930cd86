#pragma once

#include <ostream>

#include "tools/content/pack_check.h"

namespace dravel_content {

// Whether the check passes: no problem, and with `strict` no advice either.
bool Passes(const CheckResult& result, bool strict);

// One line a problem, "shemoftask.txt:12: [empty-line] ..." for the scheme and
// "shemoftask.txt:5: star-amber.jpg: [not-jpeg] ..." for a picture it names, then one a piece
// of advice, "... advice [no-lifetime] ...", then a summary.
void WriteTextReport(std::ostream& out, const std::string& where, const CheckResult& result);

// {"source": ..., "ok": ..., "files_checked": ..., "problems": [{"kind", "file", "line",
// "message"}...], "advice": [...]}; "ok" as Passes says. Names that are not UTF-8 carry
// U+FFFD for their stray bytes.
void WriteJsonReport(std::ostream& out, const std::string& where, const CheckResult& result,
                     bool strict);

}  // namespace dravel_content
