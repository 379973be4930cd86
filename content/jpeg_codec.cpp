#include "content/jpeg_codec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstring>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace content::jpeg_codec {
namespace {

static_assert(kMessageSize >= JMSG_LENGTH_MAX);

// Decoded straight into 0xFFRRGGBB words: libjpeg-turbo fills the alpha byte with 0xFF.
constexpr J_COLOR_SPACE kPixelSpace =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr JDIMENSION kRowsPerRead = 16;

// libjpeg keeps a pointer to `manager`; being the first member, it is also a pointer to this.
struct ErrorHandler {
  jpeg_error_mgr manager;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  char* message;
};

ErrorHandler& HandlerOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorHandler*>(cinfo->err); }

[[noreturn]] void Fail(j_common_ptr cinfo) {
  ErrorHandler& handler = HandlerOf(cinfo);
  (*cinfo->err->format_message)(cinfo, handler.message);
  std::longjmp(handler.jump, 1);
}

// Level -1 is a warning: data libjpeg can only patch over ("Premature end of JPEG file"). The
// first one is kept; the others are mostly its consequences.
void OnMessage(j_common_ptr cinfo, int level) {
  ErrorHandler& handler = HandlerOf(cinfo);
  if (level < 0 && handler.message[0] == '\0')
    (*cinfo->err->format_message)(cinfo, handler.message);
}

void OnProgress(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    ErrorHandler& handler = HandlerOf(cinfo);
    std::snprintf(handler.message, kMessageSize, "more than %d scans", kMaxScans);
    std::longjmp(handler.jump, 1);
  }
}

void Prepare(jpeg_decompress_struct* cinfo, ErrorHandler* handler, char* message) {
  cinfo->err = jpeg_std_error(&handler->manager);
  handler->manager.error_exit = Fail;
  handler->manager.emit_message = OnMessage;
  handler->progress.progress_monitor = OnProgress;
  handler->message = message;
  message[0] = '\0';
}

// After jpeg_create_decompress.
void Open(jpeg_decompress_struct* cinfo, std::string_view data) {
  cinfo->mem->max_memory_to_use = kMaxMemoryBytes;
  jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(data.data()), data.size());
  jpeg_read_header(cinfo, TRUE);
}

// Errors of a well-formed JPEG that uses what this libjpeg was built without (12-bit samples,
// lossless or hierarchical coding) or more components than it takes.
bool IsUnsupported(int code, int precision) {
  if (code == JERR_BAD_PRECISION) return precision == 12 || precision == 16;
  return code == JERR_SOF_UNSUPPORTED || code == JERR_NOT_COMPILED || code == JERR_ARITH_NOTIMPL ||
         code == JERR_COMPONENT_COUNT || code == JERR_CONVERSION_NOTIMPL;
}

bool IsCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

bool IsShowable(J_COLOR_SPACE space) {
  return space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB || IsCmyk(space);
}

void ChooseScale(jpeg_decompress_struct* cinfo, int min_width, int min_height) {
  const auto want_width = static_cast<JDIMENSION>(std::max(min_width, 1));
  const auto want_height = static_cast<JDIMENSION>(std::max(min_height, 1));
  cinfo->scale_denom = 8;
  for (unsigned num = 1; num <= 8; ++num) {
    cinfo->scale_num = num;
    jpeg_calc_output_dimensions(cinfo);
    if (cinfo->output_width >= want_width && cinfo->output_height >= want_height) return;
  }
}

// Never throws: a failed allocation is reported like any libjpeg error.
std::uint32_t* Allocate(DecodedImage* image, JDIMENSION width, JDIMENSION height) noexcept {
  try {
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->pixels.resize(std::size_t{width} * height);
    return image->pixels.data();
  } catch (...) {
    return nullptr;
  }
}

void ReadRows(jpeg_decompress_struct* cinfo, std::uint32_t* pixels) {
  const std::size_t width = cinfo->output_width;
  JSAMPROW rows[kRowsPerRead];
  while (cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION first = cinfo->output_scanline;
    const JDIMENSION count = std::min(kRowsPerRead, cinfo->output_height - first);
    for (JDIMENSION i = 0; i < count; ++i) {
      rows[i] = reinterpret_cast<JSAMPROW>(pixels + (first + i) * width);
    }
    jpeg_read_scanlines(cinfo, rows, count);
  }
}

std::uint32_t Scale(unsigned value, unsigned black) { return (value * black + 127) / 255; }

// libjpeg gives CMYK only as CMYK. Adobe's files (the ones with its marker) store it inverted.
void ReadCmykRows(jpeg_decompress_struct* cinfo, std::uint32_t* pixels) {
  const JDIMENSION width = cinfo->output_width;
  JSAMPARRAY row =
      (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, width * 4, 1);
  const unsigned flip = cinfo->saw_Adobe_marker ? 0 : 255;
  while (cinfo->output_scanline < cinfo->output_height) {
    std::uint32_t* out = pixels + std::size_t{cinfo->output_scanline} * width;
    jpeg_read_scanlines(cinfo, row, 1);
    for (JDIMENSION x = 0; x < width; ++x) {
      const JSAMPLE* cmyk = row[0] + 4 * x;
      const unsigned k = cmyk[3] ^ flip;
      out[x] = 0xFF000000u | Scale(cmyk[0] ^ flip, k) << 16 | Scale(cmyk[1] ^ flip, k) << 8 |
               Scale(cmyk[2] ^ flip, k);
    }
  }
}

}  // namespace

Header ReadHeader(std::string_view data, JpegInfo* info, Message& message) noexcept {
  jpeg_decompress_struct cinfo{};
  ErrorHandler handler{};
  Prepare(&cinfo, &handler, message);
  if (setjmp(handler.jump) != 0) {
    const bool unsupported = IsUnsupported(handler.manager.msg_code, cinfo.data_precision);
    jpeg_destroy_decompress(&cinfo);
    return unsupported ? Header::kUnsupported : Header::kNotJpeg;
  }
  jpeg_create_decompress(&cinfo);
  Open(&cinfo, data);
  const bool showable = IsShowable(cinfo.jpeg_color_space);
  if (showable) {
    info->width = static_cast<int>(cinfo.image_width);
    info->height = static_cast<int>(cinfo.image_height);
    info->progressive = cinfo.progressive_mode != 0;
    info->arithmetic = cinfo.arith_code != 0;
    info->blocks = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
      const jpeg_component_info& component = cinfo.comp_info[i];
      info->blocks +=
          static_cast<long long>(component.width_in_blocks) * component.height_in_blocks;
    }
  } else {
    std::snprintf(message, kMessageSize, "unsupported colour space with %d components",
                  cinfo.num_components);
  }
  jpeg_destroy_decompress(&cinfo);
  return showable ? Header::kRead : Header::kUnsupported;
}

bool Decode(std::string_view data, int min_width, int min_height, DecodedImage* image,
            Message& message) noexcept {
  jpeg_decompress_struct cinfo{};
  ErrorHandler handler{};
  Prepare(&cinfo, &handler, message);
  if (setjmp(handler.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &handler.progress;
  Open(&cinfo, data);
  const bool cmyk = IsCmyk(cinfo.jpeg_color_space);
  cinfo.out_color_space = cmyk ? JCS_CMYK : kPixelSpace;
  ChooseScale(&cinfo, min_width, min_height);
  jpeg_start_decompress(&cinfo);
  std::uint32_t* pixels = Allocate(image, cinfo.output_width, cinfo.output_height);
  if (pixels == nullptr) {
    std::snprintf(message, kMessageSize, "out of memory for the decoded picture");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (cmyk) {
    ReadCmykRows(&cinfo, pixels);
  } else {
    ReadRows(&cinfo, pixels);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace content::jpeg_codec
