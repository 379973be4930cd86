#pragma once

#include <cstddef>

#include "content/jpeg_picture.h"

namespace content {

// What decoding a picture for a tile takes, estimated from its header, its scans and its size,
// in nanoseconds of one core of the machine the game was measured on (scripts/bench prints
// the estimate beside the time taken for the costliest pictures the limit lets through).
// A tile needs only a reduced decode, but every block of every scan is still read, and a
// progressive picture keeps all of its coefficients in memory between scans.
long long DecodeCost(const JpegInfo& info, std::size_t bytes);

// A picture is decoded when it is painted, and the window answers nothing meanwhile: none may
// take much more than 0.3 s. A 360 x 360 tile costs under 2 ms; a 12-megapixel progressive
// photograph about 0.15 s.
inline constexpr long long kMaxDecodeCost = 300'000'000;

// The number of scans: SOS markers, each 0xFF 0xDA. Entropy-coded data never holds that pair
// (a 0xFF there is followed by 0x00 or a restart marker), so only a marker embedded in
// another segment, such as a thumbnail's, is counted too much.
int CountScans(std::string_view data);

}  // namespace content
