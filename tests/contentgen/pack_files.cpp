#include "tests/contentgen/pack_files.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace contentgen_test {
namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

bool Decompress(const std::string& bytes, DecodedJpeg& out, ErrorTrap& trap) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.progressive = info.progressive_mode != 0;
  out.rgb.resize(std::size_t(out.width) * out.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &out.rgb[std::size_t(info.output_scanline) * out.width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::filesystem::path BuiltPackFolder() { return DRAVEL_CONTENT_PACK_FOLDER; }

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SchemeLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

DecodedJpeg DecodeJpeg(const std::string& bytes) {
  DecodedJpeg out;
  ErrorTrap trap{};
  if (!Decompress(bytes, out, trap)) throw std::runtime_error("not a readable JPEG");
  return out;
}

}  // namespace contentgen_test
