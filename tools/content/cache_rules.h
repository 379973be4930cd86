#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/content/cache_headers.h"

namespace dravel_content {

// The scheme says what a pack means, so a cache may keep it only briefly: a rewritten pack
// reaches players once their caches' copies of the scheme expire. A picture keeps its meaning
// under its name, and should stay in caches for a day at least.
inline constexpr long long kLongestSchemeLifetime = 300;
inline constexpr long long kShortestPictureLifetime = 86'400;

// How many seconds a shared cache may serve the answer without asking the server again
// (RFC 9111 section 4.2.1): s-maxage, else max-age, else Expires less Date. 0 when it must ask
// every time (no-store, no-cache, private, an invalid value); nothing when the answer does not
// say, and each cache guesses.
std::optional<long long> SharedLifetime(const CacheHeaders& headers);

enum class CachedFile { kScheme, kPicture };

// One thing an answer gets wrong for the caches between server and players; `kind` as in the
// check's report: redirect, compressed, no-lifetime, scheme-kept-long, picture-kept-short,
// no-validator.
struct CacheFinding {
  std::string kind;
  std::string message;
  // Caches work less well, but the game gets what it needs: a redirect or compressed bytes
  // break play, the rest (lifetimes, validators) is advice.
  bool advice = true;
};

// What is wrong with the answer for a scheme or a picture. Answers outside 2xx and 3xx are
// the fetch's business, not the caches'.
std::vector<CacheFinding> JudgeCaching(const CacheHeaders& headers, CachedFile file);

}  // namespace dravel_content
