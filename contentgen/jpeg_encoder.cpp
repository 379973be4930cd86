#include "contentgen/jpeg_encoder.h"

#include <csetjmp>
#include <cstdlib>
#include <stdexcept>

namespace contentgen {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: jump back out of the
// encoder. libjpeg keeps a pointer to `manager`; being the first member, it points at this.
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

// C style, so that the longjmp skips no destructor. The output is malloc'ed by libjpeg and
// left to the caller, on failure too.
bool Compress(const JpegEncoding& job, unsigned char** out, unsigned long* size,
              ErrorTrap& trap) noexcept {
  jpeg_compress_struct info{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(job.width);
  info.image_height = static_cast<JDIMENSION>(job.height);
  info.input_components = job.components;
  info.in_color_space = job.in_space;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, job.jpeg_space);
  jpeg_set_quality(&info, job.quality, TRUE);
  if (job.full_chroma) {
    for (int i = 0; i < info.num_components; ++i) {
      info.comp_info[i].h_samp_factor = 1;
      info.comp_info[i].v_samp_factor = 1;
    }
  }
  info.optimize_coding = job.optimize_coding ? TRUE : FALSE;
  if (job.scans != nullptr) {
    info.scan_info = job.scans;
    info.num_scans = job.scan_count;
  } else if (job.progressive) {
    jpeg_simple_progression(&info);
  }
  info.arith_code = job.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPROW>(job.samples + info.next_scanline * job.row_stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::string EncodeJpegData(const JpegEncoding& encoding) {
  if (encoding.samples == nullptr || encoding.width <= 0 || encoding.height <= 0) {
    throw std::runtime_error("JPEG encoding needs a picture");
  }
  if (encoding.quality < 1 || encoding.quality > 100) {
    throw std::runtime_error("JPEG quality must be 1 to 100");
  }
  unsigned char* out = nullptr;
  unsigned long size = 0;
  ErrorTrap trap{};
  const bool ok = Compress(encoding, &out, &size, trap);
  std::string bytes;
  if (ok) bytes.assign(reinterpret_cast<const char*>(out), size);
  std::free(out);
  if (!ok) throw std::runtime_error(std::string("JPEG encoding failed: ") + trap.message);
  return bytes;
}

}  // namespace contentgen
