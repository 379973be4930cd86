#include "bench/run_options.h"

#include <charconv>
#include <cstring>

namespace bench {

bool ParseRunOptions(int argc, char** argv, const std::vector<int>& defaults, RunOptions& options) {
  constexpr int kMaxCount = 1'000'000;
  if (argc < 2 || static_cast<std::size_t>(argc - 2) > defaults.size()) return false;
  options.base_url = argv[1];
  if (!options.base_url.starts_with("http://") || !options.base_url.ends_with("/")) return false;
  options.counts = defaults;
  for (int i = 2; i < argc; ++i) {
    const char* text = argv[i];
    const char* end = text + std::strlen(text);
    int value = 0;
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || value < 1 || value > kMaxCount) return false;
    options.counts[i - 2] = value;
  }
  return true;
}

}  // namespace bench
