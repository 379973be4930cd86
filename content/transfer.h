#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "content/answer_head.h"
#include "content/progress_window.h"

namespace content {

// How one request may go: its limits, and whether it gets a connection of its own.
struct TransferSettings {
  std::chrono::milliseconds connect_timeout{};
  std::chrono::milliseconds transfer_timeout{};
  // At least window_bytes must arrive over every window, from when the request goes out.
  std::chrono::milliseconds window{};
  std::size_t window_bytes = 0;
  std::size_t max_body_bytes = 0;
  bool own_connection = false;
};

// One request's easy handle and what its callbacks learn of the answer. The callbacks run
// inside libcurl's frames, so they never throw: they record what went wrong and return a value
// that makes libcurl stop. Only a 2xx body reaches the sink; others are read and dropped.
struct Transfer {
  // A fresh easy handle for `url` with the game's request settings and `headers`, its body
  // appended to `sink`. Throws FetchError when libcurl refuses one of them.
  Transfer(const std::string& url, std::string& sink, const curl_slist* headers,
           const TransferSettings& settings);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // What the answer itself showed to be wrong, when libcurl ended the request with `code`.
  std::optional<std::string> AnswerFault(CURLcode code) const;
  // Why libcurl failed the request with `code`.
  std::string Failure(CURLcode code) const;

  CURL* curl = nullptr;
  std::string* sink;
  TransferSettings settings;
  std::optional<ProgressWindow> progress;  // from the moment the request goes out
  AnswerHead head;
  std::size_t body_bytes = 0;
  bool status_known = false;
  bool keep_body = false;
  bool over_cap = false;
  bool out_of_memory = false;
  char error_buffer[CURL_ERROR_SIZE] = {};
};

}  // namespace content
