#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "contentgen/catalogue.h"
#include "tests/contentgen/pack_files.h"

namespace contentgen_test {
namespace {

// Geometry of the cell pictures that the checks rely on: the shape stays above kShapeBottom,
// the dots below it.
constexpr int kShapeBottom = 250;
constexpr int kSmallTile = 30;
constexpr int kChoiceTile = 80;

double Distance(const unsigned char* pixel, contentgen::Rgb rgb) {
  const double dr = pixel[0] - rgb.r;
  const double dg = pixel[1] - rgb.g;
  const double db = pixel[2] - rgb.b;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

bool IsWhite(const unsigned char* pixel) {
  return pixel[0] > 200 && pixel[1] > 200 && pixel[2] > 200;
}

// A pixel that stands out from the dark ground of its row (ground sampled at the left edge).
bool IsInk(const DecodedJpeg& picture, int x, int y) {
  const unsigned char* ground = picture.At(2, y);
  return Distance(picture.At(x, y), {ground[0], ground[1], ground[2]}) > 60;
}

// The shape's silhouette as seen on a 30 x 30 tile: ink coverage of each block, then halved.
std::vector<bool> SmallSilhouette(const DecodedJpeg& picture) {
  const int block = picture.width / kSmallTile;
  std::vector<bool> cells;
  for (int by = 0; by < kShapeBottom / block; ++by) {
    for (int bx = 0; bx < kSmallTile; ++bx) {
      int ink = 0;
      for (int y = by * block; y < (by + 1) * block; ++y) {
        for (int x = bx * block; x < (bx + 1) * block; ++x) ink += IsInk(picture, x, y);
      }
      cells.push_back(ink * 2 > block * block);
    }
  }
  return cells;
}

// The picture as a tile of size x size shows it: each pixel the mean of the ones it covers.
DecodedJpeg Shrunk(const DecodedJpeg& picture, int size) {
  DecodedJpeg small{size, size, picture.progressive, {}};
  small.rgb.resize(std::size_t(size) * size * 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int sum[3] = {0, 0, 0};
      int count = 0;
      for (int sy = y * picture.height / size; sy < (y + 1) * picture.height / size; ++sy) {
        for (int sx = x * picture.width / size; sx < (x + 1) * picture.width / size; ++sx) {
          for (int k = 0; k < 3; ++k) sum[k] += picture.At(sx, sy)[k];
          ++count;
        }
      }
      for (int k = 0; k < 3; ++k) small.rgb[(std::size_t(y) * size + x) * 3 + k] = sum[k] / count;
    }
  }
  return small;
}

// White blobs (4-connected) below the shape: the dots, as an eye that counts them sees them.
int CountDots(const DecodedJpeg& picture) {
  const int top = kShapeBottom * picture.height / 360;
  std::vector<bool> seen(std::size_t(picture.width) * picture.height, false);
  int blobs = 0;
  for (int y = top; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (seen[std::size_t(y) * picture.width + x] || !IsWhite(picture.At(x, y))) continue;
      ++blobs;
      std::vector<std::pair<int, int>> stack = {{x, y}};
      seen[std::size_t(y) * picture.width + x] = true;
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = px + dx;
          const int ny = py + dy;
          if (nx < 0 || ny < top || nx >= picture.width || ny >= picture.height) continue;
          const std::size_t at = std::size_t(ny) * picture.width + nx;
          if (seen[at] || !IsWhite(picture.At(nx, ny))) continue;
          seen[at] = true;
          stack.push_back({nx, ny});
        }
      }
    }
  }
  return blobs;
}

int CellsApart(const std::vector<bool>& a, const std::vector<bool>& b) {
  int apart = 0;
  for (std::size_t i = 0; i < a.size(); ++i) apart += a[i] != b[i];
  return apart;
}

class Pictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::vector<std::string> lines =
        SchemeLines(ReadWholeFile(BuiltPackFolder() / "shemoftask.txt"));
    ASSERT_EQ(lines.size(), 49u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      cells_[i] = DecodeJpeg(ReadWholeFile(BuiltPackFolder() / lines[i]));
    }
  }
  static const DecodedJpeg& Cell(int r, int c) { return cells_[7 * r + c]; }

  static std::array<DecodedJpeg, 49> cells_;
};
std::array<DecodedJpeg, 49> Pictures::cells_;

TEST_F(Pictures, CellsAreLargeSquaresOfBothJpegKinds) {
  int progressive = 0;
  for (const DecodedJpeg& cell : cells_) {
    EXPECT_GE(cell.width, 360);
    EXPECT_EQ(cell.width, cell.height);
    progressive += cell.progressive;
  }
  EXPECT_GT(progressive, 0);
  EXPECT_LT(progressive, 49);
}

// The result pictures keep the shape of the boxes that stretch them: 161 x 172 and 73 x 49.
TEST_F(Pictures, FixedPicturesFitTheirBoxes) {
  struct Expected {
    const char* name;
    double aspect;
  };
  for (const Expected& fixed : {Expected{"reading.jpg", 161.0 / 172},
                                Expected{"ok.jpg", 161.0 / 172}, Expected{"no.jpg", 73.0 / 49}}) {
    SCOPED_TRACE(fixed.name);
    const DecodedJpeg picture = DecodeJpeg(ReadWholeFile(BuiltPackFolder() / fixed.name));
    EXPECT_GE(picture.width, 360);
    EXPECT_GE(picture.height, 360);
    EXPECT_NEAR(double(picture.width) / picture.height, fixed.aspect, 0.02);
  }
}

// Most coloured pixels of cell (r, c) are nearest to palette colour c, whatever the shape.
TEST_F(Pictures, ColumnSetsTheColour) {
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      std::array<int, 7> nearest{};
      const DecodedJpeg& cell = Cell(r, c);
      for (int y = 0; y < kShapeBottom; ++y) {
        for (int x = 0; x < cell.width; ++x) {
          if (!IsInk(cell, x, y) || IsWhite(cell.At(x, y))) continue;
          int best = 0;
          for (int k = 1; k < 7; ++k) {
            if (Distance(cell.At(x, y), contentgen::Colour(k).rgb) <
                Distance(cell.At(x, y), contentgen::Colour(best).rgb)) {
              best = k;
            }
          }
          ++nearest[best];
        }
      }
      int total = 0;
      for (int n : nearest) total += n;
      EXPECT_GT(nearest[c] * 10, total * 8) << "cell " << r << ", " << c;
    }
  }
}

// Colour c carries c + 1 white dots, readable without colour vision, and they stay apart on
// an 80 px choice tile.
TEST_F(Pictures, ColumnSetsTheNumberOfDotsCountableOnAChoiceTile) {
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      EXPECT_EQ(CountDots(Cell(r, c)), c + 1) << "cell " << r << ", " << c;
      EXPECT_EQ(CountDots(Shrunk(Cell(r, c), kChoiceTile)), c + 1)
          << "cell " << r << ", " << c << " on a choice tile";
    }
  }
}

// Seen on a 30 x 30 tile, a shape looks the same in every colour and unlike every other shape
// (the closest pairs, circle and square, diamond and cross, differ in some 38 cells).
TEST_F(Pictures, RowSetsAShapeDistinctAtThirtyPixels) {
  std::array<std::vector<bool>, 7> shapes;
  for (int r = 0; r < 7; ++r) {
    shapes[r] = SmallSilhouette(Cell(r, 0));
    for (int c = 1; c < 7; ++c) {
      EXPECT_LE(CellsApart(shapes[r], SmallSilhouette(Cell(r, c))), 4)
          << "shape " << r << " changes with colour " << c;
    }
  }
  for (int a = 0; a < 7; ++a) {
    for (int b = a + 1; b < 7; ++b) {
      EXPECT_GE(CellsApart(shapes[a], shapes[b]), 30) << "shapes " << a << " and " << b;
    }
  }
}

}  // namespace
}  // namespace contentgen_test
