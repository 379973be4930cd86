// The command line of a measure.
#include <charconv>
#include <utility>

#include "bench/driver.h"

namespace bench {

Options::Options(std::vector<std::string> words, std::size_t most) : words_(std::move(words)) {
  if (words_.size() > most) throw UsageError("too many words");
}

const std::string& Options::Word(std::size_t index) const {
  if (!Has(index)) throw UsageError("a word is missing");
  return words_[index];
}

std::string Options::Url(std::size_t index) const {
  const std::string& url = Word(index);
  if (!url.starts_with("http://") || !url.ends_with("/")) throw UsageError("not a base address");
  return url;
}

int Options::Count(std::size_t index, int fallback) const {
  if (!Has(index)) return fallback;
  const std::string& text = words_[index];
  int value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || stop != text.data() + text.size() || value < 1 || value > 1'000'000) {
    throw UsageError("not a count from 1 to 1000000: " + text);
  }
  return value;
}

}  // namespace bench
