#include "tests/support/jpeg_maker.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "contentgen/jpeg_encoder.h"

namespace testsupport {
namespace {

constexpr unsigned char kSos = 0xDA;
constexpr unsigned char kEoi = 0xD9;

using EncodeJob = contentgen::JpegEncoding;

std::string RunEncode(EncodeJob job, const std::vector<std::uint8_t>& samples) {
  job.samples = samples.data();
  job.row_stride = static_cast<std::size_t>(job.width) * job.components;
  return contentgen::EncodeJpegData(job);
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
  EncodeJob job;
  job.width = options.width;
  job.height = options.height;
  job.quality = options.quality;
  job.progressive = options.progressive;
  job.arithmetic = options.arithmetic;
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
  EncodeJob job;
  job.width = width;
  job.height = height;
  job.components = kComponents;
  job.scans = scans.data();
  job.scan_count = static_cast<int>(scans.size());
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

std::string WithBadLaterScan(std::string_view progressive) {
  std::size_t second = std::string_view::npos;
  int scans = 0;
  WalkSegments(progressive, [&](std::size_t pos, std::uint8_t code) {
    if (code == kSos && ++scans == 2) second = pos;
    return second != std::string_view::npos;
  });
  if (second == std::string_view::npos) throw std::runtime_error("JPEG maker: one scan only");
  std::string damaged(progressive);
  damaged.at(second + 5) = 0x7F;  // the scan's first component selector
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
