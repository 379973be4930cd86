#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
// clang-format on

namespace contentgen {

// Rows of samples and how libjpeg is to code them: what every JPEG encoder of the project
// hands over, the pack's pictures and the tests' alike.
struct JpegEncoding {
  const std::uint8_t* samples = nullptr;  // rows from the top, `components` bytes a pixel
  std::size_t row_stride = 0;             // bytes from the start of a row to the next
  int width = 0;
  int height = 0;
  int components = 3;
  J_COLOR_SPACE in_space = JCS_RGB;
  J_COLOR_SPACE jpeg_space = JCS_YCbCr;
  int quality = 90;  // 1 to 100
  bool progressive = false;
  const jpeg_scan_info* scans = nullptr;  // a scan script of its own, instead of progressive
  int scan_count = 0;
  bool arithmetic = false;       // arithmetic coding instead of Huffman's
  bool full_chroma = false;      // every component at full resolution (4:4:4)
  bool optimize_coding = false;  // Huffman tables made for this picture
};

// The JPEG data. libjpeg's errors are caught by the one error trap of the encoders and thrown
// as std::runtime_error with libjpeg's message.
std::string EncodeJpegData(const JpegEncoding& encoding);

}  // namespace contentgen
