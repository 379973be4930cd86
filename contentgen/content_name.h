#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace contentgen {

// A picture named after its bytes: "red-circle.jpg" becomes "red-circle.<hash>.jpg", where
// the hash is the first 16 hex digits (lower case) of the SHA-256 of the file's bytes. A
// rewritten picture so gets a new name, and caches may keep a name for good: the content
// server gives such names a year. `name` must end in ".jpg".
std::string ContentHashedName(std::string_view name, std::string_view bytes);

// The 16 hex digits of the bytes, as ContentHashedName puts them into a name.
std::string ContentHash(std::string_view bytes);

// The hash that a name of that form carries; nothing for any other name.
std::optional<std::string> HashInName(std::string_view name);

}  // namespace contentgen
