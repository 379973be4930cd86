#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace session {

// A hidden multi-line text holder: its whole text, read back line by line. Lines are not
// wrapped at any width, so a long picture name stays one name.
class TMemo {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  // The first `max_lines` lines, as views into Text(), valid until the text next changes.
  std::vector<std::string_view> Lines(
      std::size_t max_lines = std::numeric_limits<std::size_t>::max()) const;

 private:
  std::string text_;
};

}  // namespace session
