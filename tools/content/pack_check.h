#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/content/pack_source.h"

namespace dravel_content {

// One thing wrong with a pack. `kind` is a stable word for scripts (docs/content-server.md
// lists them).
struct Problem {
  std::string kind;
  std::string file;  // the scheme, or the picture concerned
  int line = 0;      // the scheme's line (from 1) that names it; 0 for none
  std::string message;
};

struct CheckResult {
  // What breaks play: a file missing or none the game can show, a scheme that names pictures
  // wrongly, an answer the game cannot use. Line by line through the scheme, a picture's at the
  // line that names it first; the fixed pictures last.
  std::vector<Problem> problems;
  // What only makes the pack look or cache less well (a picture smaller than its box, no
  // lifetime or validator for caches, lines past the 49th), in the same order.
  std::vector<Problem> advice;
  int files_checked = 0;
};

// Called before each file is read, with the files done and the files in all.
using CheckProgress = std::function<void(int done, int total, const std::string& name)>;

// Reads the scheme and every file the game would ask for from `source`, as the game reads
// them, and reports everything that would go wrong for a player: the scheme's lines (49, none
// empty, no duplicates, nothing the request would escape, no byte-order mark), then each
// picture it names and the three fixed pictures (there, a JPEG the game accepts, whole, not
// smaller than its box on the window, its bytes those its name's hash says, if it has one).
// Of a content server it also reports what each answer tells caches (JudgeCaching), and a
// redirect instead of the file.
CheckResult CheckPack(PackSource& source, const CheckProgress& progress = {});

}  // namespace dravel_content
