#include "tools/content/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace dravel_content {

ProgressLine::ProgressLine(std::string verb)
    : verb_(std::move(verb)), terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
  if (shown_) std::fputs("\r\033[K", stderr);
}

void ProgressLine::Show(int done, int total, const std::string& name) {
  if (!terminal_) return;
  // A name is cut, so that the line never wraps and "\r" always returns to its start.
  std::string shown = name.substr(0, 50);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  std::fprintf(stderr, "\r\033[K%s [%d/%d] %s", verb_.c_str(), done, total, shown.c_str());
  std::fflush(stderr);
  shown_ = true;
}

}  // namespace dravel_content
