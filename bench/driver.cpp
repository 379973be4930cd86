// dravel_bench: every measure of scripts/bench behind one set-up, one command line, one error
// report and one exit code (0 measured, 1 failed, 2 usage).
//
//   dravel_bench MEASURE [WORD...]
#include "bench/driver.h"

#include <cstdio>
#include <exception>
#include <string_view>

#include "app/application.h"

namespace {

struct Entry {
  const char* name;
  const char* usage;
  std::size_t most_words;
  bench::Measure measure;
};

constexpr Entry kMeasures[] = {
    {"turns", "BASE_URL [RUNS [TURNS_PER_RUN]]", 3, bench::MeasureTurns},
    {"soak", "BASE_URL [CALLGRIND_OUT_FILE]", 2, bench::MeasureSoak},
    {"clicks", "PACK_FOLDER [CLICKS]", 2, bench::MeasureClicks},
    {"holds", "", 0, bench::MeasureHolds},
    {"memory", "names|pictures [CLICKS]", 2, bench::MeasureMemory},
    {"decodes", "[RUNS]", 1, bench::MeasureDecodes},
    {"builder", "[RUNS]", 1, bench::MeasureBuilder},
};

}  // namespace

int main(int argc, char** argv) {
  const Entry* entry = nullptr;
  for (const Entry& candidate : kMeasures) {
    if (argc >= 2 && std::string_view(argv[1]) == candidate.name) entry = &candidate;
  }
  if (!entry) {
    for (const Entry& candidate : kMeasures) {
      std::fprintf(stderr, "usage: dravel_bench %s %s\n", candidate.name, candidate.usage);
    }
    return 2;
  }
  bench::UseOffscreenPlatform();
  bench::CountingDialogs dialogs;
  int qt_argc = 1;
  app::Application application(qt_argc, argv, dialogs);
  try {
    entry->measure(bench::Options({argv + 2, argv + argc}, entry->most_words), dialogs);
  } catch (const bench::UsageError& error) {
    std::fprintf(stderr, "%s\nusage: dravel_bench %s %s\n", error.what(), entry->name,
                 entry->usage);
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dravel_bench %s: %s\n", entry->name, error.what());
    return 1;
  }
  return 0;
}
