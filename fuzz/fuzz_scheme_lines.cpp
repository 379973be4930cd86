// The scheme text as a hostile server may send it: split into lines, the table filled from
// them, every name escaped into a request target.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/request_target.h"
#include "game/scheme_lines.h"

namespace {

constexpr std::string_view kRawButUnsafe = " \"#<>\\^`{|}";

bool MustEscape(unsigned char byte) {
  return byte < 0x20 || byte >= 0x7F ||
         kRawButUnsafe.find(static_cast<char>(byte)) != std::string_view::npos;
}

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = game::SplitSchemeLines(text);
  for (const std::string_view line : lines) {
    Require(line.find_first_of("\r\n") == std::string_view::npos);
    Require(line.data() >= text.data() && line.data() + line.size() <= text.data() + text.size());
  }

  game::ImageNameTable names;
  game::FillImageNames(names, lines);
  for (int n = 0; n < game::kTableSize * game::kTableSize; ++n) {
    const std::string& name = names[n / game::kTableSize][n % game::kTableSize];
    Require(name == (static_cast<std::size_t>(n) < lines.size() ? lines[n] : std::string_view()));
    // Only bytes that may stand raw in a target reach the wire; each other one takes three.
    const std::string target = content::EscapeFileName(name);
    std::size_t escaped = 0;
    for (const char c : name) escaped += MustEscape(static_cast<unsigned char>(c));
    Require(target.size() == name.size() + 2 * escaped);
    for (const char c : target) Require(!MustEscape(static_cast<unsigned char>(c)));
  }
  return 0;
}
