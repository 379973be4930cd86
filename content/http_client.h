#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "content/network_wait.h"

namespace content {

// A server that is silent, or slow on purpose, must hold the game only for seconds, and a
// body must not fill the memory. Connecting has its own limit; once connected, a transfer must
// move at least kMinBytesPerSecond over every kProgressWindow until its last byte, so a silent
// server and one that drips a byte now and then both fail after one window. After a time-out
// the attempts that follow get kRetryTimeout for each.
inline constexpr std::chrono::milliseconds kConnectTimeout{5'000};
inline constexpr std::chrono::milliseconds kProgressWindow{4'000};
// 8 kbit/s: a hundredth of the slowest line the game is meant for (1 Mbit/s), and more than
// any server that holds its answers back can send and still hold the game long.
inline constexpr std::size_t kMinBytesPerSecond = 1'024;
inline constexpr std::chrono::milliseconds kRetryTimeout{2'000};
// A server that sends just enough to keep moving is bounded by this for one request, and by
// the budget of the handler that asks (HttpClient::Budget) for all of its requests together.
// A slow line still brings the largest picture: 4 MiB in 45 s is 750 kbit/s.
inline constexpr std::chrono::milliseconds kTransferTimeout{45'000};
// The most one action of the player's (a click with the turn it plays, "Start->Next", the
// start) waits for the server in all: its input waits that long at the most.
inline constexpr std::chrono::milliseconds kHandlerBudget{15'000};
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
  std::chrono::milliseconds progress_window = kProgressWindow;
  std::size_t min_bytes_per_second = kMinBytesPerSecond;
  // What connecting and each progress window may take instead, while waits are shortened.
  std::chrono::milliseconds retry_timeout = kRetryTimeout;
  // From the start of the request, connecting included, to the last byte of the body.
  std::chrono::milliseconds transfer_timeout = kTransferTimeout;
  std::chrono::milliseconds handler_budget = kHandlerBudget;
  std::size_t max_text_bytes = kMaxTextBytes;
  std::size_t max_picture_bytes = kMaxPictureBytes;
};

// The window's one HTTP client: one request at a time, each finished before the next. Requests
// go through libcurl's multi interface and wait for the network through a NetworkWait, so the
// caller decides what runs meanwhile. The connection stays open between requests while it can
// be trusted (ConnectionPolicy says when it cannot). Each request gets a fresh easy handle, since a
// handle reused after a hostile answer can hold a pointer into freed memory (libcurl before 8.1
// folds a leading continuation line into a header of the previous answer).
class HttpClient {
 public:
  // While a Budget lives, every request shares limits.handler_budget: a request under way when
  // it runs out fails as a time-out, and none goes out after it. Budgets nest; the outermost
  // one counts.
  class Budget {
   public:
    explicit Budget(HttpClient& client);
    ~Budget();
    Budget(const Budget&) = delete;
    Budget& operator=(const Budget&) = delete;

   private:
    HttpClient& client_;
  };

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
  // TimeoutError when the server was too slow or the budget ran out), a body over
  // `max_body_bytes` and a name over kMaxFileNameBytes included; `stream` may then hold part
  // of a body. Throws TransferAbandoned once Abandon has been called.
  void Get(const std::string& file_name, std::string& stream, std::size_t max_body_bytes);
  // The body of a 2xx answer, byte for byte, within the text cap.
  std::string Get(const std::string& file_name);
  // The same for a text the caller reads as such: an answer that says it is a picture, a sound
  // or a film fails, as it answers another request.
  std::string GetText(const std::string& file_name);

  // The caller found the body just fetched not to be what it asked for: the connection it came
  // on is closed before the next request.
  void EndConnection();

  // While on, connecting and each progress window may take only retry_timeout: for the
  // attempts that follow a time-out, when the server is likely silent still.
  void ShortenWaits(bool on);
  // True when the budget under way is spent: any request now fails without going out.
  bool OutOfTime() const;
  // Drops the transfer under way and refuses every later request, for good.
  void Abandon();

 private:
  void Get(const std::string& file_name, std::string& stream, std::size_t max_body_bytes,
           bool text);
  std::string Get(const std::string& file_name, bool text);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace content
