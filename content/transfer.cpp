#include "content/transfer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "content/content_error.h"
#include "content/fetch_failure.h"

namespace content {
namespace {

using std::chrono::milliseconds;

std::string Ms(milliseconds duration) { return std::to_string(duration.count()) + " ms"; }

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (transfer.progress) transfer.progress->Add(n);
  return transfer.head.Take(std::string_view(data, n)) ? n : CURL_WRITEFUNC_ERROR;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t cap = transfer.settings.max_body_bytes;
  const size_t n = size * count;
  if (transfer.progress) transfer.progress->Add(n);
  // Content-Length is checked by libcurl; this catches chunked and close-delimited bodies.
  if (n > cap - transfer.body_bytes) {
    transfer.over_cap = true;
    return CURL_WRITEFUNC_ERROR;
  }
  transfer.body_bytes += n;
  try {
    if (!transfer.status_known) {
      long status = 0;
      curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
      transfer.keep_body = status >= 200 && status <= 299;
      transfer.status_known = true;
      // One buffer of the announced size, rather than one regrown and copied a dozen times.
      curl_off_t length = -1;
      curl_easy_getinfo(transfer.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      if (transfer.keep_body && length > 0 && static_cast<std::size_t>(length) <= cap) {
        transfer.sink->reserve(transfer.sink->size() + static_cast<std::size_t>(length));
      }
    }
    if (transfer.keep_body) transfer.sink->append(data, n);
  } catch (...) {
    transfer.out_of_memory = true;
    return CURL_WRITEFUNC_ERROR;
  }
  return n;
}

// Called when a connection is made or reused, right before the request goes out: from here
// the transfer must keep moving.
int OnConnected(void* user, char*, char*, int, int) {
  auto& transfer = *static_cast<Transfer*>(user);
  transfer.progress.emplace(transfer.settings.window, transfer.settings.window_bytes,
                            std::chrono::steady_clock::now());
  return CURL_PREREQFUNC_OK;
}

long Milliseconds(milliseconds duration) {
  return static_cast<long>(std::max<milliseconds::rep>(duration.count(), 1));
}

}  // namespace

Transfer::Transfer(const std::string& url, std::string& sink_, const curl_slist* headers,
                   const TransferSettings& settings_)
    : curl(curl_easy_init()), sink(&sink_), settings(settings_) {
  if (curl == nullptr) throw FetchError("libcurl could not create a handle");
  const auto set = [this](CURLoption option, auto value) {
    if (curl_easy_setopt(curl, option, value) != CURLE_OK) {
      throw FetchError("libcurl refused an option of the HTTP client");
    }
  };
  try {
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_HTTPHEADER, headers);
    set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    set(CURLOPT_PROTOCOLS_STR, "http");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http");
    set(CURLOPT_FOLLOWLOCATION, 0L);
    // An empty proxy overrides http_proxy, ALL_PROXY and the like.
    set(CURLOPT_PROXY, "");
    set(CURLOPT_DISALLOW_USERNAME_IN_URL, 1L);
    set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_IGNORED));
    // The target is exactly base + escaped name: no dot-segment folding.
    set(CURLOPT_PATH_AS_IS, 1L);
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, error_buffer);
    set(CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(settings.connect_timeout));
    set(CURLOPT_TIMEOUT_MS, Milliseconds(settings.transfer_timeout));
    set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.max_body_bytes));
    set(CURLOPT_HEADERFUNCTION, OnHeader);
    set(CURLOPT_HEADERDATA, this);
    set(CURLOPT_WRITEFUNCTION, OnBody);
    set(CURLOPT_WRITEDATA, this);
    set(CURLOPT_PREREQFUNCTION, OnConnected);
    set(CURLOPT_PREREQDATA, this);
    if (settings.own_connection) set(CURLOPT_FORBID_REUSE, 1L);
  } catch (...) {
    curl_easy_cleanup(curl);
    throw;
  }
}

Transfer::~Transfer() { curl_easy_cleanup(curl); }

std::optional<std::string> Transfer::AnswerFault(CURLcode code) const {
  if (over_cap || code == CURLE_FILESIZE_EXCEEDED) return BodyOverCap(settings.max_body_bytes);
  if (head.TooLarge()) return "the answer's head is too large";
  if (head.LengthsDisagree()) return "the answer gives two different lengths";
  if (out_of_memory) return "out of memory for the body";
  return std::nullopt;
}

std::string Transfer::Failure(CURLcode code) const {
  if (code == CURLE_OPERATION_TIMEDOUT && progress) {
    return "timed out: no whole answer within " + Ms(settings.transfer_timeout);
  }
  if (code == CURLE_OPERATION_TIMEDOUT) {
    return "timed out: no connection within " + Ms(settings.connect_timeout);
  }
  // libcurl's own text says only that it could not connect, not whether it was refused.
  long os_error = 0;
  if (code == CURLE_COULDNT_CONNECT &&
      curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &os_error) == CURLE_OK && os_error != 0) {
    return std::string("no connection: ") + std::strerror(static_cast<int>(os_error));
  }
  std::string what = curl_easy_strerror(code);
  if (error_buffer[0] != '\0') what += std::string(" (") + error_buffer + ")";
  return what;
}

}  // namespace content
