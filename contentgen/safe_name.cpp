#include "contentgen/safe_name.h"

namespace contentgen {
namespace {

constexpr std::size_t kMaxStemBytes = 60;

bool Kept(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

std::string SafeFileName(std::string_view stem) {
  std::string name;
  bool gap = false;
  for (const char c : stem) {
    const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    if (!Kept(lower)) {
      gap = true;
      continue;
    }
    // A separator only between kept runs, and never as the last byte.
    const std::size_t wanted = (gap && !name.empty()) ? 2 : 1;
    if (name.size() + wanted > kMaxStemBytes) break;
    if (wanted == 2) name += '-';
    name += lower;
    gap = false;
  }
  return name.empty() ? name : name + ".jpg";
}

}  // namespace contentgen
