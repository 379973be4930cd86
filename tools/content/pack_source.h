#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "tools/content/cache_headers.h"

namespace dravel_content {

// Where a pack's files come from: a content server, asked with the game's own HTTP client and
// requests, or a folder on disk. Both fail the same way, with content::FetchError.
class PackSource {
 public:
  virtual ~PackSource() = default;
  // The server's address of the game's folder, or the folder's path.
  virtual const std::string& Where() const = 0;
  // The whole file, as the game would receive it. Throws content::FetchError when there is no
  // such file, the server answers with an error status, or the file holds more than
  // `max_bytes`.
  virtual std::string Read(const std::string& name, std::size_t max_bytes) = 0;
  // What the server's answer for `name` tells caches (FetchCacheHeaders); nothing from a
  // folder, or when the server does not answer.
  virtual std::optional<CacheHeaders> CacheHeadersOf(const std::string& name) = 0;
};

// "http://host[:port]/folder/" is a content server; anything else a folder, which must exist.
// Throws std::invalid_argument, with a message for the user, for anything else.
std::unique_ptr<PackSource> OpenPackSource(const std::string& where);

}  // namespace dravel_content
