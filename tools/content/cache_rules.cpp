#include "tools/content/cache_rules.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>
#include <limits>
#include <string_view>

namespace dravel_content {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// Seconds of a delta-seconds value, quoted or not; nothing when it is not one.
std::optional<long long> Seconds(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  constexpr long long kLongest = std::numeric_limits<long long>::max();
  unsigned long long seconds = 0;  // digits only: no sign
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (end != value.data() + value.size() || value.empty()) return std::nullopt;
  if (error == std::errc::result_out_of_range || seconds > kLongest) return kLongest;
  if (error != std::errc()) return std::nullopt;
  return static_cast<long long>(seconds);
}

struct Directives {
  bool must_ask = false;  // no-store, no-cache, private, or a lifetime that does not parse
  std::optional<long long> max_age;
  std::optional<long long> s_maxage;
};

Directives ParseCacheControl(std::string_view text) {
  Directives directives;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view item = Trimmed(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const std::size_t equals = item.find('=');
    const std::string_view name = Trimmed(item.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : Trimmed(item.substr(equals + 1));
    if (SameWord(name, "no-store")) {
      directives.must_ask = true;
    } else if (SameWord(name, "no-cache") || SameWord(name, "private")) {
      // With field names they concern those header fields only, not the body.
      if (value.empty()) directives.must_ask = true;
    } else if (SameWord(name, "max-age") || SameWord(name, "s-maxage")) {
      auto& field = SameWord(name, "max-age") ? directives.max_age : directives.s_maxage;
      const auto seconds = Seconds(value);
      if (!seconds) directives.must_ask = true;
      // The first of repeated directives counts.
      if (!field) field = seconds.value_or(0);
    }
  }
  return directives;
}

std::string Lifetime(long long seconds) {
  if (seconds >= 86'400 && seconds % 86'400 == 0) {
    const long long days = seconds / 86'400;
    return std::to_string(seconds) + " s (" + std::to_string(days) +
           (days == 1 ? " day)" : " days)");
  }
  return std::to_string(seconds) + " s";
}

}  // namespace

std::optional<long long> SharedLifetime(const CacheHeaders& headers) {
  const Directives directives = ParseCacheControl(headers.cache_control);
  if (directives.must_ask) return 0;
  if (directives.s_maxage) return directives.s_maxage;
  if (directives.max_age) return directives.max_age;
  if (headers.expires.empty()) return std::nullopt;
  // An Expires that is not a date ("0", "-1") means already expired.
  const std::time_t expires = curl_getdate(headers.expires.c_str(), nullptr);
  if (expires < 0) return 0;
  std::time_t date = headers.date.empty() ? -1 : curl_getdate(headers.date.c_str(), nullptr);
  if (date < 0) date = headers.received;
  return std::max<long long>(0, expires - date);
}

std::vector<CacheFinding> JudgeCaching(const CacheHeaders& headers, CachedFile file) {
  std::vector<CacheFinding> findings;
  const auto find = [&](const char* kind, std::string message) {
    findings.push_back({kind, std::move(message), true});
  };
  const auto breaks_play = [&](const char* kind, std::string message) {
    findings.push_back({kind, std::move(message), false});
  };
  const long status = headers.status;
  if (status >= 300 && status <= 399) {
    breaks_play("redirect",
                "answers " + std::to_string(status) +
                    (headers.location.empty() ? "" : ", a redirect to " + headers.location) +
                    ": the game does not follow redirects; serve the file itself here");
    return findings;
  }
  if (status < 200 || status > 299) return findings;

  if (!headers.content_encoding.empty() && !SameWord(headers.content_encoding, "identity")) {
    breaks_play("compressed",
                "sent with Content-Encoding: " + headers.content_encoding +
                    " to a client that accepts it: a cache may keep the compressed copy "
                    "and hand it to the game, which reads the bytes as they come; "
                    "turn compression off for the game's folder");
  }
  const bool scheme = file == CachedFile::kScheme;
  const auto lifetime = SharedLifetime(headers);
  if (!lifetime) {
    find("no-lifetime",
         scheme ? "no max-age or Expires: each cache guesses how long to keep the scheme (a "
                  "CDN's default can be hours), and a rewritten pack reaches players that much "
                  "later; send Cache-Control: max-age=60"
                : "no max-age or Expires: each cache guesses how long to keep the picture; send "
                  "Cache-Control: max-age=86400 (a day) or longer");
  } else if (scheme && *lifetime > kLongestSchemeLifetime) {
    find("scheme-kept-long", "caches may keep the scheme for " + Lifetime(*lifetime) +
                                 ": a rewritten pack reaches players only that much later; "
                                 "at most 300 s (max-age=60 is enough)");
  } else if (!scheme && *lifetime < kShortestPictureLifetime) {
    find("picture-kept-short",
         (*lifetime == 0 ? std::string("caches may not keep the picture: every request for it "
                                       "reaches the server")
                         : "caches may keep the picture only " + Lifetime(*lifetime) +
                               ": they ask the server for it again that often") +
             "; keep it a day (max-age=86400) or longer");
  }
  if (headers.etag.empty() && headers.last_modified.empty()) {
    find("no-validator",
         "neither ETag nor Last-Modified: a cache whose copy has expired must fetch the whole "
         "file again instead of a 304 Not Modified");
  }
  return findings;
}

}  // namespace dravel_content
