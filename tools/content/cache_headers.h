#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace dravel_content {

// What an answer tells the caches between the server and the players (RFC 9111).
struct CacheHeaders {
  long status = 0;
  std::string location;
  std::string cache_control;  // every Cache-Control line, joined with ", "
  std::string expires;
  std::string date;
  std::string etag;
  std::string last_modified;
  std::string content_encoding;
  std::time_t received = 0;  // when the answer came, for an Expires without a Date
};

// Asks for `url` with the game's own request headers plus "Accept-Encoding: gzip, deflate,
// br", as a cache that serves browsers as well would, and keeps the answer's head; the body is
// not read. Redirects are not followed. Nothing when no answer comes.
std::optional<CacheHeaders> FetchCacheHeaders(const std::string& url);

}  // namespace dravel_content
