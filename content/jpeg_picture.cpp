#include "content/jpeg_picture.h"

#include <string>
#include <utility>

#include "content/content_error.h"
#include "content/decode_cost.h"
#include "content/jpeg_codec.h"

namespace content {
namespace {

// Larger pictures are refused at load: decoding one would take gigabytes or seconds.
constexpr int kMaxSide = 16'384;
constexpr long long kMaxPixels = 64LL << 20;

}  // namespace

JpegPicture JpegPicture::Load(std::string_view bytes) { return Adopt(std::string(bytes)); }

JpegPicture JpegPicture::Adopt(std::string&& bytes) {
  JpegPicture picture;
  if (bytes.empty()) return picture;
  JpegInfo info;
  jpeg_codec::Message message;
  switch (jpeg_codec::ReadHeader(bytes, &info, message)) {
    case jpeg_codec::Header::kRead:
      break;
    case jpeg_codec::Header::kNotJpeg:
      throw JpegError(std::string("not a JPEG picture: ") + message);
    case jpeg_codec::Header::kUnsupported:
      throw UnsupportedJpeg(std::string("a JPEG of an encoding that cannot be shown: ") + message);
  }
  if (info.width > kMaxSide || info.height > kMaxSide ||
      static_cast<long long>(info.width) * info.height > kMaxPixels) {
    throw JpegError("JPEG picture too large: " + std::to_string(info.width) + " x " +
                    std::to_string(info.height));
  }
  info.scans = CountScans(bytes);
  if (DecodeCost(info, bytes.size()) > kMaxDecodeCost) {
    throw JpegError("JPEG picture too costly to decode: " + std::to_string(info.width) + " x " +
                    std::to_string(info.height) + ", " + std::to_string(info.scans) + " scans" +
                    (info.arithmetic ? ", arithmetic coding" : ""));
  }
  picture.data_ = std::make_shared<const Shared>(std::move(bytes));
  picture.info_ = info;
  return picture;
}

std::string_view JpegPicture::Data() const {
  return data_ ? std::string_view(data_->bytes) : std::string_view();
}

std::string JpegPicture::Patched() const {
  if (!data_) return {};
  const std::lock_guard lock(data_->mutex);
  return data_->patched;
}

DecodedImage JpegPicture::DecodeToCover(int width, int height) const {
  DecodedImage image;
  if (Empty()) return image;
  jpeg_codec::Message message;
  if (!jpeg_codec::Decode(data_->bytes, width, height, &image, message)) {
    throw JpegError(std::string("damaged JPEG data: ") + message);
  }
  if (message[0] != '\0') {
    const std::lock_guard lock(data_->mutex);
    data_->patched = message;
  }
  return image;
}

DecodedImage JpegPicture::DecodeFull() const { return DecodeToCover(info_.width, info_.height); }

}  // namespace content
