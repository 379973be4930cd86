#pragma once

#include <string>
#include <vector>

// The command line of a benchmark driver: a base address, then counts.
namespace bench {

struct RunOptions {
  std::string base_url;
  std::vector<int> counts;
};

// Reads "BASE_URL [COUNT...]": at most `defaults.size()` counts, each 1 to 1,000,000; counts
// left out take their default. False when the line does not fit.
bool ParseRunOptions(int argc, char** argv, const std::vector<int>& defaults, RunOptions& options);

}  // namespace bench
