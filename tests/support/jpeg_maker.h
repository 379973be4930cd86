#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// JPEG files for tests, made with libjpeg, and ways to damage them. Every function throws
// std::runtime_error when it cannot do what it says.
namespace testsupport {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class JpegColor {
  kColor,  // YCbCr, the usual colour JPEG
  kGray,   // one component: the luma of the pattern
  kCmyk,   // four components with an Adobe marker, stored inverted as Adobe's tools do
  kYcck,   // the same, transformed to YCCK
};

enum class JpegPattern {
  kSolid,      // every pixel `color`
  kQuadrants,  // red top left, green top right, blue bottom left, white bottom right
  kTexture,    // smooth waves plus fine noise: compresses about as a photograph does
};

struct JpegOptions {
  int width = 64;
  int height = 64;
  JpegPattern pattern = JpegPattern::kSolid;
  Rgb color{200, 40, 40};
  JpegColor color_space = JpegColor::kColor;
  bool progressive = false;
  bool arithmetic = false;  // arithmetic coding instead of Huffman's
  int quality = 90;
};

// The colour the pattern has at (x, y) before compression (grey pictures: r = g = b = luma).
Rgb PatternColor(const JpegOptions& options, int x, int y);

std::string MakeJpeg(const JpegOptions& options);

// A 16 x 16 solid picture whose colour differs for every index from 0 to 255, so that a test
// can tell which file a control shows by its bytes.
std::string DistinctJpeg(int index);

// A valid progressive colour picture whose scan script has 2,112 scans: every coefficient of
// every component refined bit by bit.
std::string MakeManyScansJpeg(int width = 16, int height = 16);

// The number of scans (SOS markers) in the data.
int CountScans(std::string_view jpeg);

// The first `keep` bytes.
std::string Truncated(std::string_view jpeg, std::size_t keep);
// A marker planted in the middle of the first scan's entropy data: libjpeg decodes it only with
// a warning. The header stays valid.
std::string WithCorruptEntropyData(std::string_view jpeg);
// A progressive picture whose second scan names a component the frame does not have: the
// header reads, and libjpeg stops at that scan with an error, showing nothing.
std::string WithBadLaterScan(std::string_view progressive);
// The frame header claims a sample precision libjpeg does not support: no longer a JPEG it reads.
std::string WithCorruptHeader(std::string_view jpeg);
// The frame header's width and height forged (each at most 65,535); the data stays as it was.
std::string WithDimensions(std::string_view jpeg, int width, int height);

}  // namespace testsupport
