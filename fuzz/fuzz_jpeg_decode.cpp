// Any bytes that load as a picture, decoded as the tiles paint them: at a choice tile's size
// and at a task tile's.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "content/content_error.h"
#include "content/jpeg_codec.h"
#include "content/jpeg_picture.h"

namespace {

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

void DecodeAt(const content::JpegPicture& picture, int width, int height) {
  try {
    const content::DecodedImage image = picture.DecodeToCover(width, height);
    const content::JpegInfo& info = picture.Info();
    // A scale that covers the tile, or the whole picture when it is smaller than the tile.
    Require((image.width >= width && image.height >= height) ||
            (image.width == info.width && image.height == info.height));
    Require(image.width <= info.width && image.height <= info.height);
    Require(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height);
    for (const std::uint32_t pixel : image.pixels) Require((pixel >> 24) == 0xFF);
    // What libjpeg patched over, as far as it decodes, is said in one of its messages.
    Require(picture.Patched().size() < content::jpeg_codec::kMessageSize);
  } catch (const content::JpegError&) {
    // Data libjpeg cannot decode: the tile reports it once and stays empty.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  content::JpegPicture picture;
  try {
    picture =
        content::JpegPicture::Load(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const content::JpegError&) {
    return -1;  // not a picture the game takes: keep such inputs out of the corpus
  }
  DecodeAt(picture, 80, 80);
  DecodeAt(picture, 180, 180);
  return 0;
}
