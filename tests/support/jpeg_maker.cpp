#include "tests/support/jpeg_maker.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <stdexcept>
#include <vector>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
// clang-format on

namespace testsupport {
namespace {

constexpr unsigned char kSos = 0xDA;
constexpr unsigned char kEoi = 0xD9;

// libjpeg keeps a pointer to `manager`; being the first member, it is also a pointer to this.
struct ErrorHandler {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr cinfo) {
  auto* handler = reinterpret_cast<ErrorHandler*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, handler->message);
  std::longjmp(handler->jump, 1);
}

struct EncodeJob {
  const std::uint8_t* samples;
  int width;
  int height;
  int components;
  J_COLOR_SPACE in_space;
  J_COLOR_SPACE jpeg_space;
  int quality;
  bool progressive;
  const jpeg_scan_info* scans;  // a scan script of its own, or null
  int scan_count;
  bool arithmetic = false;
};

// C style, so that libjpeg's longjmp skips no destructor. The output buffer is malloc'ed by
// libjpeg and left to the caller, on failure too.
bool Encode(const EncodeJob& job, unsigned char** out, unsigned long* size,
            ErrorHandler* handler) noexcept {
  jpeg_compress_struct cinfo{};
  cinfo.err = jpeg_std_error(&handler->manager);
  handler->manager.error_exit = Fail;
  if (setjmp(handler->jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, size);
  cinfo.image_width = static_cast<JDIMENSION>(job.width);
  cinfo.image_height = static_cast<JDIMENSION>(job.height);
  cinfo.input_components = job.components;
  cinfo.in_color_space = job.in_space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, job.jpeg_space);
  jpeg_set_quality(&cinfo, job.quality, TRUE);
  if (job.scans != nullptr) {
    cinfo.scan_info = job.scans;
    cinfo.num_scans = job.scan_count;
  } else if (job.progressive) {
    jpeg_simple_progression(&cinfo);
  }
  cinfo.arith_code = job.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t row_size = static_cast<std::size_t>(job.width) * job.components;
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPROW>(job.samples + cinfo.next_scanline * row_size);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

std::string RunEncode(EncodeJob job, const std::vector<std::uint8_t>& samples) {
  job.samples = samples.data();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  ErrorHandler handler{};
  const bool ok = Encode(job, &out, &size, &handler);
  std::string bytes = ok ? std::string(reinterpret_cast<const char*>(out), size) : std::string();
  std::free(out);
  if (!ok) throw std::runtime_error(std::string("JPEG maker: ") + handler.message);
  return bytes;
}

std::uint8_t Luma(Rgb c) {
  return static_cast<std::uint8_t>((299 * c.r + 587 * c.g + 114 * c.b + 500) / 1000);
}

std::uint8_t Clamp(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgb TextureAt(int x, int y, int width, int height) {
  const double fx = x;
  const double fy = y;
  const double ring = std::hypot(fx - width / 2.0, fy - height / 2.0);
  const unsigned hash =
      (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u);
  const double noise = static_cast<double>((hash >> 7) % 41) - 20.0;
  return {Clamp(128 + 90 * std::sin(fx / 9) * std::cos(fy / 13) + noise),
          Clamp(128 + 90 * std::sin((fx + fy) / 17) - noise),
          Clamp(128 + 90 * std::cos(ring / 7) + noise / 2)};
}

// Naive CMYK of an RGB colour, inverted as Adobe stores it.
void AppendAdobeCmyk(Rgb c, std::vector<std::uint8_t>& samples) {
  const int k = 255 - std::max({c.r, c.g, c.b});
  auto ink = [k](int channel) { return k == 255 ? 0 : (255 - channel - k) * 255 / (255 - k); };
  samples.push_back(static_cast<std::uint8_t>(255 - ink(c.r)));
  samples.push_back(static_cast<std::uint8_t>(255 - ink(c.g)));
  samples.push_back(static_cast<std::uint8_t>(255 - ink(c.b)));
  samples.push_back(static_cast<std::uint8_t>(255 - k));
}

std::uint8_t ByteAt(std::string_view data, std::size_t pos) {
  if (pos >= data.size()) throw std::runtime_error("JPEG maker: the data ends inside a segment");
  return static_cast<std::uint8_t>(data[pos]);
}

// Where the entropy data that starts at `pos` ends: at the first marker other than a stuffed
// zero or a restart marker.
std::size_t EntropyEnd(std::string_view data, std::size_t pos) {
  for (; pos + 1 < data.size(); ++pos) {
    if (ByteAt(data, pos) != 0xFF) continue;
    const std::uint8_t next = ByteAt(data, pos + 1);
    if (next != 0x00 && (next < 0xD0 || next > 0xD7)) return pos;
  }
  return data.size();
}

// Walks the segments from SOI and calls visit(marker position, code) for each, skipping
// entropy data; stops when visit returns true, at EOI or at the end of the data.
template <typename Visit>
void WalkSegments(std::string_view data, Visit visit) {
  if (ByteAt(data, 0) != 0xFF || ByteAt(data, 1) != 0xD8) {
    throw std::runtime_error("JPEG maker: no SOI marker");
  }
  std::size_t pos = 2;
  while (pos + 1 < data.size()) {
    if (ByteAt(data, pos) != 0xFF)
      throw std::runtime_error("JPEG maker: no marker where one belongs");
    while (ByteAt(data, pos + 1) == 0xFF) ++pos;  // fill bytes
    const std::uint8_t code = ByteAt(data, pos + 1);
    if (visit(pos, code) || code == kEoi) return;
    if (code >= 0xD0 && code <= 0xD7) {
      pos += 2;
      continue;
    }
    const std::size_t length = ByteAt(data, pos + 2) << 8 | ByteAt(data, pos + 3);
    pos += 2 + length;
    if (code == kSos) pos = EntropyEnd(data, pos);
  }
}

bool IsFrameHeader(std::uint8_t code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

std::size_t FindMarker(std::string_view data, bool (*wanted)(std::uint8_t)) {
  std::size_t found = data.npos;
  WalkSegments(data, [&](std::size_t pos, std::uint8_t code) {
    if (wanted(code)) found = pos;
    return found != data.npos;
  });
  if (found == data.npos) throw std::runtime_error("JPEG maker: the marker is missing");
  return found;
}

void PutWord(std::string& data, std::size_t pos, int value) {
  if (value < 0 || value > 0xFFFF) throw std::runtime_error("JPEG maker: a size over 65535");
  data.at(pos) = static_cast<char>(value >> 8);
  data.at(pos + 1) = static_cast<char>(value & 0xFF);
}

}  // namespace

Rgb PatternColor(const JpegOptions& options, int x, int y) {
  Rgb c = options.color;
  if (options.pattern == JpegPattern::kQuadrants) {
    const bool right = x >= options.width / 2;
    const bool bottom = y >= options.height / 2;
    c = bottom ? (right ? Rgb{255, 255, 255} : Rgb{0, 0, 255})
               : (right ? Rgb{0, 255, 0} : Rgb{255, 0, 0});
  } else if (options.pattern == JpegPattern::kTexture) {
    c = TextureAt(x, y, options.width, options.height);
  }
  if (options.color_space == JpegColor::kGray) {
    const std::uint8_t luma = Luma(c);
    c = {luma, luma, luma};
  }
  return c;
}

std::string MakeJpeg(const JpegOptions& options) {
  if (options.width <= 0 || options.height <= 0) {
    throw std::runtime_error("JPEG maker: a picture needs a positive size");
  }
  EncodeJob job{nullptr,           options.width,   options.height,      3,       JCS_RGB,
                JCS_YCbCr,         options.quality, options.progressive, nullptr, 0,
                options.arithmetic};
  switch (options.color_space) {
    case JpegColor::kColor:
      break;
    case JpegColor::kGray:
      job.components = 1;
      job.in_space = job.jpeg_space = JCS_GRAYSCALE;
      break;
    case JpegColor::kCmyk:
    case JpegColor::kYcck:
      job.components = 4;
      job.in_space = JCS_CMYK;
      job.jpeg_space = options.color_space == JpegColor::kCmyk ? JCS_CMYK : JCS_YCCK;
      break;
  }
  std::vector<std::uint8_t> samples;
  samples.reserve(static_cast<std::size_t>(options.width) * options.height * job.components);
  for (int y = 0; y < options.height; ++y) {
    for (int x = 0; x < options.width; ++x) {
      const Rgb c = PatternColor(options, x, y);
      if (job.components == 1) {
        samples.push_back(c.r);
      } else if (job.components == 3) {
        samples.insert(samples.end(), {c.r, c.g, c.b});
      } else {
        AppendAdobeCmyk(c, samples);
      }
    }
  }
  return RunEncode(job, samples);
}

std::string DistinctJpeg(int index) {
  JpegOptions options;
  options.width = options.height = 16;
  options.color = {static_cast<std::uint8_t>(index * 5 % 256),
                   static_cast<std::uint8_t>(index * 37 % 256),
                   static_cast<std::uint8_t>(index * 91 % 256)};
  return MakeJpeg(options);
}

std::string MakeManyScansJpeg(int width, int height) {
  constexpr int kComponents = 3;
  constexpr int kTopBit = 10;  // the highest successive approximation bit libjpeg allows
  std::vector<jpeg_scan_info> scans;
  for (int component = 0; component < kComponents; ++component) {
    for (int coefficient = 0; coefficient < DCTSIZE2; ++coefficient) {
      for (int bit = kTopBit; bit >= 0; --bit) {
        jpeg_scan_info scan{};
        scan.comps_in_scan = 1;
        scan.component_index[0] = component;
        scan.Ss = scan.Se = coefficient;
        scan.Ah = bit == kTopBit ? 0 : bit + 1;
        scan.Al = bit;
        scans.push_back(scan);
      }
    }
  }
  JpegOptions options;
  options.width = width;
  options.height = height;
  options.pattern = JpegPattern::kTexture;
  std::vector<std::uint8_t> samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = PatternColor(options, x, y);
      samples.insert(samples.end(), {c.r, c.g, c.b});
    }
  }
  const EncodeJob job{nullptr,   width, height, kComponents,  JCS_RGB,
                      JCS_YCbCr, 90,    true,   scans.data(), static_cast<int>(scans.size())};
  return RunEncode(job, samples);
}

int CountScans(std::string_view jpeg) {
  int scans = 0;
  WalkSegments(jpeg, [&scans](std::size_t, std::uint8_t code) {
    scans += code == kSos;
    return false;
  });
  return scans;
}

std::string Truncated(std::string_view jpeg, std::size_t keep) {
  return std::string(jpeg.substr(0, keep));
}

std::string WithCorruptEntropyData(std::string_view jpeg) {
  const std::size_t sos = FindMarker(jpeg, [](std::uint8_t code) { return code == kSos; });
  const std::size_t start = sos + 2 + (ByteAt(jpeg, sos + 2) << 8 | ByteAt(jpeg, sos + 3));
  const std::size_t end = EntropyEnd(jpeg, start);
  if (end < start + 8) throw std::runtime_error("JPEG maker: too little entropy data to corrupt");
  std::string damaged(jpeg);
  const std::size_t middle = start + (end - start) / 2;
  damaged[middle] = static_cast<char>(0xFF);
  damaged[middle + 1] = static_cast<char>(0xD3);  // a restart marker where none may stand
  return damaged;
}

std::string WithCorruptHeader(std::string_view jpeg) {
  std::string damaged(jpeg);
  damaged.at(FindMarker(jpeg, IsFrameHeader) + 4) = 3;  // sample precision
  return damaged;
}

std::string WithDimensions(std::string_view jpeg, int width, int height) {
  std::string forged(jpeg);
  const std::size_t frame = FindMarker(jpeg, IsFrameHeader);
  PutWord(forged, frame + 5, height);
  PutWord(forged, frame + 7, width);
  return forged;
}

}  // namespace testsupport
