#include "contentgen/jpeg_writer.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace contentgen {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: jump back out of the
// encoder. Only plain data lives between setjmp and longjmp.
struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->message);
  std::longjmp(trap->jump, 1);
}

struct Encoded {
  unsigned char* data = nullptr;  // malloc'ed by libjpeg
  unsigned long size = 0;
};

// Returns false, with trap->message set, when libjpeg fails.
bool Compress(const QImage& rgb, const JpegOptions& options, Encoded& out, ErrorTrap& trap) {
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out.data, &out.size);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  for (int i = 0; i < info.num_components; ++i) {
    info.comp_info[i].h_samp_factor = 1;
    info.comp_info[i].v_samp_factor = 1;
  }
  info.optimize_coding = TRUE;
  if (options.progressive) jpeg_simple_progression(&info);

  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::string EncodeJpeg(const QImage& image, const JpegOptions& options) {
  if (image.isNull()) throw std::runtime_error("cannot encode an empty image");
  if (options.quality < 1 || options.quality > 100) {
    throw std::runtime_error("JPEG quality must be 1 to 100");
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  Encoded out;
  ErrorTrap trap{};
  const bool ok = Compress(rgb, options, out, trap);
  std::string bytes;
  if (ok) bytes.assign(reinterpret_cast<const char*>(out.data), out.size);
  std::free(out.data);
  if (!ok) throw std::runtime_error(std::string("JPEG encoding failed: ") + trap.message);
  return bytes;
}

}  // namespace contentgen
