#pragma once

#include <chrono>
#include <cstddef>
#include <exception>
#include <string>

#include "content/http_client.h"

namespace content {

// Why a fetch failed, in plain words and without the address: the HTTP status, which time-out,
// a refused or reset connection, not a JPEG, over a limit, too costly to decode. The game's
// log lines and dravel-content check both print these words.
std::string FailureCause(const std::exception& error);

// The address of `file_name` as a log line shows it: a name longer than kShownNameBytes, which
// only a hostile scheme has, is cut there and its length given.
inline constexpr std::size_t kShownNameBytes = 200;
std::string ShownUrl(const HttpClient& client, const std::string& file_name);

// The game's line for a failed fetch: "GET <url> failed after <n> ms: <cause>".
std::string FailedFetchLine(const HttpClient& client, const std::string& file_name,
                            std::chrono::milliseconds took, const std::exception& error);

// The causes the client words itself, for those that find the same fault another way.
std::string HttpStatus(long status);
std::string BodyOverCap(std::size_t max_body_bytes);

}  // namespace content
