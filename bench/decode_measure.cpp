// The costliest pictures the decode limit still lets through, each decoded as a tile on a 2x
// screen (360 x 360 device pixels) as the window does when it paints: the time taken beside
// the estimate the limit goes by.
//
//   dravel_bench decodes [RUNS]
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench/driver.h"
#include "bench/figures.h"
#include "content/content_error.h"
#include "content/decode_cost.h"
#include "content/http_client.h"
#include "content/jpeg_picture.h"
#include "tests/support/jpeg_maker.h"

namespace bench {
namespace {

using testsupport::JpegOptions;
using testsupport::JpegPattern;

constexpr int kTileDevicePixels = 360;

struct Kind {
  const char* name;
  JpegOptions options;
};

std::optional<std::string> AcceptedPicture(JpegOptions options, int side) {
  options.width = options.height = side;
  std::string jpeg = testsupport::MakeJpeg(options);
  if (jpeg.size() > content::kMaxPictureBytes) return std::nullopt;
  try {
    content::JpegPicture::Load(jpeg);
    return jpeg;
  } catch (const content::JpegError&) {
    return std::nullopt;
  }
}

// The largest square picture of a kind that the limits accept, to within 16 pixels of side:
// a bisection, since a larger picture of one kind costs more and is never accepted where a
// smaller one is refused.
std::string CostliestAccepted(const Kind& kind) {
  const JpegOptions& options = kind.options;
  int accepted = 64;
  int refused = 16'385;  // past the largest side any picture may have
  std::optional<std::string> best = AcceptedPicture(options, accepted);
  if (!best) throw std::runtime_error(std::string("no accepted picture of the kind ") + kind.name);
  while (refused - accepted > 16) {
    const int side = accepted + (refused - accepted) / 2;
    if (std::optional<std::string> jpeg = AcceptedPicture(options, side)) {
      accepted = side;
      best = std::move(jpeg);
    } else {
      refused = side;
    }
  }
  return *best;
}

}  // namespace

void MeasureDecodes(const Options& options, CountingDialogs&) {
  const int runs = options.Count(0, 5);
  const Kind kinds[] = {
      {"sequential, photographic", {.pattern = JpegPattern::kTexture}},
      {"progressive, smooth", {.pattern = JpegPattern::kQuadrants, .progressive = true}},
      {"progressive, photographic", {.pattern = JpegPattern::kTexture, .progressive = true}},
      {"progressive arithmetic, smooth",
       {.pattern = JpegPattern::kQuadrants, .progressive = true, .arithmetic = true}},
      {"progressive arithmetic, photographic",
       {.pattern = JpegPattern::kTexture, .progressive = true, .arithmetic = true}},
  };
  for (const Kind& kind : kinds) {
    const std::string jpeg = CostliestAccepted(kind);
    const content::JpegPicture picture = content::JpegPicture::Load(jpeg);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      times.push_back(
          WallMillisecondsOf([&] { picture.DecodeToCover(kTileDevicePixels, kTileDevicePixels); }));
    }
    const content::JpegInfo& info = picture.Info();
    PrintFigure({std::string("Decode: costliest accepted, ") + kind.name, "ms", SpreadOf(times), "",
                 std::nullopt, "", std::nullopt});
    PrintNote(std::string(kind.name) + ": " + std::to_string(info.width) + " x " +
              std::to_string(info.height) + ", " + std::to_string(info.scans) + " scans, " +
              std::to_string(jpeg.size() / 1024) + " KiB, estimated " +
              std::to_string(content::DecodeCost(info, jpeg.size()) / 1'000'000) +
              " ms of the limit's " + std::to_string(content::kMaxDecodeCost / 1'000'000));
  }
}

}  // namespace bench
