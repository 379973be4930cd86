#include "content/image_fit.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace content {
namespace {

// Where each output column or row samples its source: the two neighbours and the weight of
// the second, in 1/256ths, pixel centres matched.
struct Tap {
  int first = 0;
  int second = 0;
  std::uint32_t weight = 0;
};

std::vector<Tap> Taps(int from, int to) {
  std::vector<Tap> taps(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    const double at = std::max(0.0, (i + 0.5) * from / to - 0.5);
    const int first = std::min(static_cast<int>(at), from - 1);
    taps[i] = {first, std::min(first + 1, from - 1),
               static_cast<std::uint32_t>((at - first) * 256.0 + 0.5)};
  }
  return taps;
}

// Two colour channels at a time, each in a 16-bit lane: no lane can carry into the next.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
  constexpr std::uint32_t kLanes = 0x00FF00FFu;
  constexpr std::uint32_t kHalf = 0x00800080u;  // rounds each lane to nearest
  const std::uint32_t keep = 256 - weight;
  const std::uint32_t red_blue =
      (((a & kLanes) * keep + (b & kLanes) * weight + kHalf) >> 8) & kLanes;
  const std::uint32_t green =
      (((a >> 8 & kLanes) * keep + (b >> 8 & kLanes) * weight + kHalf) >> 8) & kLanes;
  return 0xFF000000u | red_blue | (green & 0xFFu) << 8;
}

}  // namespace

DecodedImage FitTo(DecodedImage image, int width, int height) {
  if ((image.width == width && image.height == height) || image.width <= 0 || image.height <= 0 ||
      width <= 0 || height <= 0) {
    return image;
  }
  const std::vector<Tap> columns = Taps(image.width, width);
  const std::vector<Tap> rows = Taps(image.height, height);
  DecodedImage fitted;
  fitted.width = width;
  fitted.height = height;
  fitted.pixels.resize(static_cast<std::size_t>(width) * height);
  const auto at = [&image](int x, int y) {
    return image.pixels[static_cast<std::size_t>(y) * image.width + x];
  };
  for (int y = 0; y < height; ++y) {
    const Tap& row = rows[y];
    std::uint32_t* out = fitted.pixels.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const Tap& column = columns[x];
      const std::uint32_t top =
          Mix(at(column.first, row.first), at(column.second, row.first), column.weight);
      const std::uint32_t bottom =
          Mix(at(column.first, row.second), at(column.second, row.second), column.weight);
      out[x] = Mix(top, bottom, row.weight);
    }
  }
  return fitted;
}

}  // namespace content
