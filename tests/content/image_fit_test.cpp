// Fitting a decoded picture to its control: exact size, colours kept, edges where they were.
#include "content/image_fit.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

content::DecodedImage Quadrants(int side) {
  content::DecodedImage image;
  image.width = image.height = side;
  image.pixels.resize(static_cast<std::size_t>(side) * side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const bool right = x >= side / 2;
      const bool bottom = y >= side / 2;
      image.pixels[static_cast<std::size_t>(y) * side + x] =
          bottom ? (right ? 0xFFFFFFFFu : 0xFF0000FFu) : (right ? 0xFF00FF00u : 0xFFFF0000u);
    }
  }
  return image;
}

std::uint32_t At(const content::DecodedImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

TEST(ImageFit, GivesTheSizeAskedForAndKeepsWhatEachPartShows) {
  for (const auto& [width, height] : {std::pair{80, 80}, {73, 49}, {161, 172}, {1, 1}}) {
    const content::DecodedImage fitted = content::FitTo(Quadrants(90), width, height);
    ASSERT_EQ(fitted.width, width);
    ASSERT_EQ(fitted.height, height);
    ASSERT_EQ(fitted.pixels.size(), static_cast<std::size_t>(width) * height);
    if (width < 8) continue;
    EXPECT_EQ(At(fitted, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(At(fitted, width - 2, 1), 0xFF00FF00u);
    EXPECT_EQ(At(fitted, 1, height - 2), 0xFF0000FFu);
    EXPECT_EQ(At(fitted, width - 2, height - 2), 0xFFFFFFFFu);
  }
}

TEST(ImageFit, LeavesAnImageOfThatSizeAndAnEmptyOneAlone) {
  const content::DecodedImage same = content::FitTo(Quadrants(16), 16, 16);
  EXPECT_EQ(same.pixels, Quadrants(16).pixels);
  const content::DecodedImage empty = content::FitTo({}, 30, 20);
  EXPECT_EQ(empty.width, 0);
  EXPECT_TRUE(empty.pixels.empty());
  content::DecodedImage dot;
  dot.width = dot.height = 1;
  dot.pixels = {0xFF123456u};
  const content::DecodedImage grown = content::FitTo(dot, 5, 3);
  for (const std::uint32_t pixel : grown.pixels) EXPECT_EQ(pixel, 0xFF123456u);
}

}  // namespace
