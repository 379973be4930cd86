#pragma once

#include <optional>
#include <string_view>

#include "content/jpeg_picture.h"

namespace content {

// The header as libjpeg reads it, without the game's limits on a picture's size: for tools
// that must tell a picture the game refuses as too large from bytes that are no JPEG at all.
// Nothing when the bytes are not a JPEG we could show at any size.
std::optional<JpegInfo> ProbeJpegHeader(std::string_view bytes);

}  // namespace content
