#include "content/jpeg_probe.h"

#include "content/jpeg_codec.h"

namespace content {

std::optional<JpegInfo> ProbeJpegHeader(std::string_view bytes) {
  JpegInfo info;
  jpeg_codec::Message message;
  if (bytes.empty() || jpeg_codec::ReadHeader(bytes, &info, message) != jpeg_codec::Header::kRead) {
    return std::nullopt;
  }
  return info;
}

}  // namespace content
