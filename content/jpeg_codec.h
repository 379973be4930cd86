#pragma once

#include <cstddef>
#include <string_view>

#include "content/jpeg_picture.h"

// The only code that calls libjpeg. Its errors are caught with setjmp/longjmp inside these
// functions, so no C++ exception ever crosses libjpeg's frames; they report by return value.
namespace content::jpeg_codec {

inline constexpr std::size_t kMessageSize = 200;  // libjpeg's JMSG_LENGTH_MAX
using Message = char[kMessageSize];

// A progressive picture with more scans than this is refused while decoding, as browsers do:
// each scan costs a pass over the whole coefficient buffer.
inline constexpr int kMaxScans = 100;
// Bounds libjpeg's own allocations (coefficient buffers of progressive pictures above all).
inline constexpr long kMaxMemoryBytes = 256L << 20;

enum class Header {
  kRead,
  kNotJpeg,
  kUnsupported,  // a JPEG, but of an encoding libjpeg here cannot decode or we cannot show
};

// Reads the header; otherwise libjpeg's message says why not. Warnings are left to the decoder.
Header ReadHeader(std::string_view data, JpegInfo* info, Message& message) noexcept;

// Decodes at the smallest scale M/8 (M from 1 to 8) whose output covers min_width x
// min_height, or at full size when none does. False, with libjpeg's message, on an error. Data
// libjpeg can only patch over (a premature end, corrupt entropy data, a stray marker) decodes
// as far as it goes, the rest filled as libjpeg fills it; `message` then holds its first
// warning, and is empty when there was none.
bool Decode(std::string_view data, int min_width, int min_height, DecodedImage* image,
            Message& message) noexcept;

}  // namespace content::jpeg_codec
