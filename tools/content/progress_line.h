#pragma once

#include <string>

namespace dravel_content {

// "[12/53] star-amber.jpg" on standard error, rewritten in place, when standard error is a
// terminal; nothing otherwise, so that scripts and logs get only the result. The line is
// cleared when the object goes.
class ProgressLine {
 public:
  explicit ProgressLine(std::string verb);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(int done, int total, const std::string& name);

 private:
  std::string verb_;
  bool shown_ = false;
  bool terminal_;
};

}  // namespace dravel_content
