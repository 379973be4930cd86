#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/offscreen_game.h"

// What every measure of dravel_bench is given: the words of its command line, and the message
// boxes the program would have shown.
namespace bench {

// A command line that does not fit the measure: the driver prints its usage.
class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The words after the measure's name. Each accessor throws UsageError when the word is
// missing or malformed.
class Options {
 public:
  Options(std::vector<std::string> words, std::size_t most);

  // A base address, "http://host[:port]/folder/".
  std::string Url(std::size_t index) const;
  // A count from 1 to 1,000,000; `fallback` when the line ends before it.
  int Count(std::size_t index, int fallback) const;
  // A word that must be given.
  const std::string& Word(std::size_t index) const;
  bool Has(std::size_t index) const { return index < words_.size(); }

 private:
  std::vector<std::string> words_;
};

// A measure prints its figures and notes, and throws when what it played went wrong.
using Measure = void (*)(const Options& options, CountingDialogs& dialogs);

void MeasureTurns(const Options& options, CountingDialogs& dialogs);
void MeasureSoak(const Options& options, CountingDialogs& dialogs);
void MeasureClicks(const Options& options, CountingDialogs& dialogs);
void MeasureHolds(const Options& options, CountingDialogs& dialogs);
void MeasureMemory(const Options& options, CountingDialogs& dialogs);
void MeasureDecodes(const Options& options, CountingDialogs& dialogs);
void MeasureBuilder(const Options& options, CountingDialogs& dialogs);

}  // namespace bench
