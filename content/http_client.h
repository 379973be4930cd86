#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "content/network_wait.h"

namespace content {

// A server that never answers must hold the game only for seconds, and a body must not fill
// the memory. A click makes up to 13 requests and a turn up to 3 attempts: with a server that
// accepts and says nothing, the first request waits kStallTimeout and every later attempt of
// the same turn kRetryTimeout, so a click holds the player at most about 12 s.
inline constexpr std::chrono::milliseconds kConnectTimeout{5'000};
inline constexpr std::chrono::milliseconds kStallTimeout{8'000};
inline constexpr std::chrono::milliseconds kRetryTimeout{2'000};
// A server that drips a byte now and then never stalls; this bounds the whole request. A slow
// line still brings the largest picture: 4 MiB in 45 s is 750 kbit/s.
inline constexpr std::chrono::milliseconds kTransferTimeout{45'000};
// The scheme file: 49 names need a few kilobytes, but only its first 49 lines count, so a
// longer file is still a good one.
inline constexpr std::size_t kMaxTextBytes = std::size_t{32} << 20;
// A picture: a tile is at most 360 device pixels a side, which a few hundred kilobytes show
// well. The window holds about two dozen fetched pictures at once (tiles, the result pictures
// and the previous task's copies), and this cap keeps them together under 100 MiB.
inline constexpr std::size_t kMaxPictureBytes = std::size_t{4} << 20;
// Longer than any file name a server's file system can hold (255 bytes, 765 escaped): a name
// longer than this is refused without a request, like a file the server does not have.
inline constexpr std::size_t kMaxFileNameBytes = 1024;

struct HttpLimits {
  std::chrono::milliseconds connect_timeout = kConnectTimeout;
  // No byte received for this long once connected.
  std::chrono::milliseconds stall_timeout = kStallTimeout;
  // From the start of the request, connecting included, to the last byte of the body.
  std::chrono::milliseconds transfer_timeout = kTransferTimeout;
  // What connecting and each byte may take instead, while waits are shortened.
  std::chrono::milliseconds retry_timeout = kRetryTimeout;
  std::size_t max_text_bytes = kMaxTextBytes;
  std::size_t max_picture_bytes = kMaxPictureBytes;
};

// The window's one HTTP client: one request at a time, each finished before the next. Requests
// go through libcurl's multi interface and wait for the network through a NetworkWait, so the
// caller decides what runs meanwhile. The connection stays open between requests; each request
// gets a fresh easy handle, since a handle reused after a hostile answer can hold a pointer into
// freed memory (libcurl before 8.1 folds a leading continuation line into a header of the
// previous answer).
class HttpClient {
 public:
  // base_url is "http://host[:port]/folder/"; every request is base_url + escaped file name.
  // Without a waiter the client blocks in poll(2). The waiter must outlive the client.
  explicit HttpClient(std::string base_url, HttpLimits limits = {}, NetworkWait* wait = nullptr);
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  const std::string& BaseUrl() const;
  const HttpLimits& Limits() const;
  // The address a request for `file_name` goes to: the base followed by the escaped name.
  std::string UrlFor(const std::string& file_name) const;

  // Appends the body of a 2xx answer to `stream`. Throws FetchError on any other outcome (a
  // TimeoutError when the server was too slow), a body over `max_body_bytes` and a name over
  // kMaxFileNameBytes included; `stream` may then hold part of a body. Throws
  // TransferAbandoned once Abandon has been called.
  void Get(const std::string& file_name, std::string& stream, std::size_t max_body_bytes);
  // The body of a 2xx answer, byte for byte, within the text cap.
  std::string Get(const std::string& file_name);

  // While on, connecting and each byte may take only retry_timeout: for the attempts that
  // follow a time-out, when the server is likely silent still.
  void ShortenWaits(bool on);
  // Drops the transfer under way and refuses every later request, for good.
  void Abandon();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace content
