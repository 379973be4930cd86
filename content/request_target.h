#pragma once

#include <string>
#include <string_view>

namespace content {

// The file name as it may stand in a request target. Bytes that cannot stand raw (controls,
// space, '"', '#', '<', '>', '\', '^', '`', '{', '|', '}', DEL and bytes from 0x80) are
// percent-encoded with upper-case hex; every other byte, '%' and '?' included, is kept, so the
// server sees the name it listed. Raw, a space is refused and a '#' cuts the name short.
std::string EscapeFileName(std::string_view name);

}  // namespace content
