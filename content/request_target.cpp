#include "content/request_target.h"

#include <string_view>

namespace content {
namespace {

bool MustEscape(unsigned char byte) {
  constexpr std::string_view kUnsafe = " \"#<>\\^`{|}";
  return byte < 0x20 || byte >= 0x7F || kUnsafe.find(static_cast<char>(byte)) != kUnsafe.npos;
}

}  // namespace

std::string EscapeFileName(std::string_view name) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string target;
  target.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (MustEscape(byte)) {
      target += '%';
      target += kHex[byte >> 4];
      target += kHex[byte & 0x0F];
    } else {
      target += c;
    }
  }
  return target;
}

}  // namespace content
