// Any bytes as a fetched picture: loading reads the header and refuses what it must.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "content/content_error.h"
#include "content/jpeg_picture.h"

namespace {

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const content::JpegPicture picture = content::JpegPicture::Load(bytes);
    Require(picture.Empty() == bytes.empty());
    Require(picture.Data() == bytes);
    if (picture.Empty()) return 0;
    const content::JpegInfo& info = picture.Info();
    Require(info.width > 0 && info.height > 0);
    Require(info.width <= 16'384 && info.height <= 16'384);
    Require(static_cast<long long>(info.width) * info.height <= 64LL << 20);
  } catch (const content::JpegError&) {
    // Refused: what the game expects of bytes that are not a picture it takes.
  }
  return 0;
}
