#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace content {

struct JpegInfo {
  int width = 0;
  int height = 0;
  bool progressive = false;
  bool arithmetic = false;  // arithmetic rather than Huffman coding
  long long blocks = 0;     // 8 x 8 blocks of all components together
  int scans = 0;            // SOS markers in the data
};

// Leaves what it allocates unfilled: the decoder writes every pixel, and zero-filling first
// would be a needless pass over the whole buffer at every decode.
template <typename T>
struct UnfilledAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UnfilledAllocator<U>;
  };
  UnfilledAllocator() = default;
  template <typename U>
  UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
};
using PixelBuffer = std::vector<std::uint32_t, UnfilledAllocator<std::uint32_t>>;

// Pixels as 0xFFRRGGBB words, row after row (the layout of QImage::Format_RGB32).
struct DecodedImage {
  int width = 0;
  int height = 0;
  PixelBuffer pixels;
};

// Compressed JPEG data whose header has been checked. Copies share the data.
class JpegPicture {
 public:
  JpegPicture() = default;  // the empty picture

  // Copies the bytes and reads the header. Empty bytes give the empty picture without a check.
  // Throws JpegError when the bytes are not a JPEG, or the picture is larger or would take
  // longer to decode than we accept.
  static JpegPicture Load(std::string_view bytes);
  // The same, taking over the buffer of `bytes` instead of copying it.
  static JpegPicture Adopt(std::string&& bytes);

  bool Empty() const { return !data_; }
  // Whether both are copies of one load (or both empty).
  bool SameAs(const JpegPicture& other) const { return data_ == other.data_; }
  const JpegInfo& Info() const { return info_; }
  std::string_view Data() const;

  // Decodes at the smallest DCT scale whose result is at least width x height (never above
  // full size). Data libjpeg can only patch over decodes as far as it goes, as browsers show
  // it; Patched() then says what was wrong. Throws JpegError on data libjpeg cannot decode at
  // all, and on a progressive picture with more than 100 scans. The empty picture gives a
  // 0 x 0 image. Safe to call from several threads at once.
  DecodedImage DecodeToCover(int width, int height) const;
  DecodedImage DecodeFull() const;

  // What libjpeg patched over when the data was decoded ("Premature end of JPEG file"); empty
  // while no decode has had to.
  std::string Patched() const;

 private:
  // The bytes never change; what their decodes found is shared by every copy.
  struct Shared {
    explicit Shared(std::string&& data) : bytes(std::move(data)) {}
    const std::string bytes;
    mutable std::mutex mutex;
    mutable std::string patched;
  };

  std::shared_ptr<const Shared> data_;
  JpegInfo info_;
};

}  // namespace content
