#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace contentgen_test {

// The folder that the build's content-pack target wrote.
std::filesystem::path BuiltPackFolder();

std::string ReadWholeFile(const std::filesystem::path& path);

// The scheme's lines, split at CR LF only.
std::vector<std::string> SchemeLines(const std::string& text);

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  bool progressive = false;
  std::vector<unsigned char> rgb;  // 3 bytes a pixel, row after row

  const unsigned char* At(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

// Decodes with libjpeg; throws std::runtime_error when the bytes are no JPEG.
DecodedJpeg DecodeJpeg(const std::string& bytes);

}  // namespace contentgen_test
