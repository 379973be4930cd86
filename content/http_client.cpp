#include "content/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "content/content_error.h"
#include "content/request_target.h"

namespace content {
namespace {

using Clock = std::chrono::steady_clock;

// Sent after the Host line, in this order, instead of libcurl's own Accept and User-Agent.
constexpr const char* kRequestHeaders[] = {
    "Accept: text/html, */*",
    "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
};

// An answer whose head alone is this large is not one of our files.
constexpr std::size_t kMaxHeadBytes = std::size_t{256} << 10;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      throw FetchError("libcurl could not be initialised");
    }
  });
}

// What the callbacks learn during one request. They run inside libcurl's frames, so they never
// throw: they record what went wrong and return a value that makes libcurl stop.
struct Transfer {
  CURL* curl = nullptr;
  std::string* sink = nullptr;
  std::size_t max_body_bytes = 0;
  Clock::duration stall_timeout{};
  bool connected = false;  // the stall clock runs only from here; connecting has its own
  Clock::time_point last_activity{};
  std::size_t head_bytes = 0;
  std::size_t body_bytes = 0;
  bool status_known = false;
  bool keep_body = false;  // only a 2xx body reaches the sink; others are read and dropped
  bool over_cap = false;
  bool head_too_large = false;
  bool out_of_memory = false;
  bool stalled = false;
};

size_t OnHeader(char*, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  transfer.last_activity = Clock::now();
  transfer.head_bytes += n;
  if (transfer.head_bytes > kMaxHeadBytes) {
    transfer.head_too_large = true;
    return CURL_WRITEFUNC_ERROR;
  }
  return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  transfer.last_activity = Clock::now();
  // Content-Length is checked by libcurl; this catches chunked and close-delimited bodies.
  if (n > transfer.max_body_bytes - transfer.body_bytes) {
    transfer.over_cap = true;
    return CURL_WRITEFUNC_ERROR;
  }
  transfer.body_bytes += n;
  if (!transfer.status_known) {
    long status = 0;
    curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
    transfer.keep_body = status >= 200 && status <= 299;
    transfer.status_known = true;
  }
  if (transfer.keep_body) {
    try {
      transfer.sink->append(data, n);
    } catch (...) {
      transfer.out_of_memory = true;
      return CURL_WRITEFUNC_ERROR;
    }
  }
  return n;
}

// Called when a connection is made or reused, right before the request goes out.
int OnConnected(void* user, char*, char*, int, int) {
  auto& transfer = *static_cast<Transfer*>(user);
  transfer.connected = true;
  transfer.last_activity = Clock::now();
  return CURL_PREREQFUNC_OK;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto& transfer = *static_cast<Transfer*>(user);
  if (transfer.connected && Clock::now() - transfer.last_activity > transfer.stall_timeout) {
    transfer.stalled = true;
    return 1;
  }
  return 0;
}

long Milliseconds(std::chrono::milliseconds duration) {
  return static_cast<long>(std::max<std::chrono::milliseconds::rep>(duration.count(), 1));
}

}  // namespace

struct HttpClient::Impl {
  std::string base_url;
  HttpLimits limits;
  CURLSH* connections = nullptr;  // shared by each request's handle
  CURL* curl = nullptr;           // the handle of the last request
  curl_slist* headers = nullptr;
  Transfer transfer;
  char error_buffer[CURL_ERROR_SIZE] = {};

  ~Impl() {
    curl_easy_cleanup(curl);
    curl_share_cleanup(connections);
    curl_slist_free_all(headers);
  }

  void ShareConnections() {
    connections = curl_share_init();
    if (connections == nullptr ||
        curl_share_setopt(connections, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT) != CURLSHE_OK) {
      throw FetchError("libcurl could not share connections");
    }
  }

  // A fresh handle for the next request, on the connections the earlier ones left open.
  void RenewHandle() {
    curl_easy_cleanup(curl);
    curl = curl_easy_init();
    if (curl == nullptr) throw FetchError("libcurl could not create a handle");
    Configure();
  }

  template <typename Value>
  void Set(CURLoption option, Value value) {
    if (curl_easy_setopt(curl, option, value) != CURLE_OK) {
      throw FetchError("libcurl refused an option of the HTTP client");
    }
  }

  void MakeHeaders() {
    for (const char* header : kRequestHeaders) {
      curl_slist* longer = curl_slist_append(headers, header);
      if (longer == nullptr) throw FetchError("out of memory for the request headers");
      headers = longer;
    }
  }

  void Configure() {
    Set(CURLOPT_SHARE, connections);
    Set(CURLOPT_HTTPHEADER, headers);
    Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    Set(CURLOPT_PROTOCOLS_STR, "http");
    Set(CURLOPT_REDIR_PROTOCOLS_STR, "http");
    Set(CURLOPT_FOLLOWLOCATION, 0L);
    // An empty proxy overrides http_proxy, ALL_PROXY and the like.
    Set(CURLOPT_PROXY, "");
    Set(CURLOPT_DISALLOW_USERNAME_IN_URL, 1L);
    Set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_IGNORED));
    // The target is exactly base + escaped name: no dot-segment folding.
    Set(CURLOPT_PATH_AS_IS, 1L);
    Set(CURLOPT_NOSIGNAL, 1L);
    Set(CURLOPT_ERRORBUFFER, error_buffer);
    Set(CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(limits.connect_timeout));
    Set(CURLOPT_TIMEOUT_MS, Milliseconds(limits.transfer_timeout));

    Set(CURLOPT_HEADERFUNCTION, OnHeader);
    Set(CURLOPT_HEADERDATA, &transfer);
    Set(CURLOPT_WRITEFUNCTION, OnBody);
    Set(CURLOPT_WRITEDATA, &transfer);
    Set(CURLOPT_PREREQFUNCTION, OnConnected);
    Set(CURLOPT_PREREQDATA, &transfer);
    Set(CURLOPT_XFERINFOFUNCTION, OnProgress);
    Set(CURLOPT_XFERINFODATA, &transfer);
    Set(CURLOPT_NOPROGRESS, 0L);
  }

  std::string Describe(CURLcode code) const {
    if (transfer.over_cap || code == CURLE_FILESIZE_EXCEEDED) {
      return "the body is larger than " + std::to_string(transfer.max_body_bytes) + " bytes";
    }
    if (transfer.head_too_large) return "the answer's head is too large";
    if (transfer.out_of_memory) return "out of memory for the body";
    if (transfer.stalled) {
      return "no data from the server for " + std::to_string(limits.stall_timeout.count()) + " ms";
    }
    if (code == CURLE_OPERATION_TIMEDOUT && transfer.connected) {
      return "no whole answer within " + std::to_string(limits.transfer_timeout.count()) + " ms";
    }
    if (code == CURLE_OPERATION_TIMEDOUT) {
      return "no connection within " + std::to_string(limits.connect_timeout.count()) + " ms";
    }
    std::string what = curl_easy_strerror(code);
    if (error_buffer[0] != '\0') what += std::string(" (") + error_buffer + ")";
    return what;
  }
};

HttpClient::HttpClient(std::string base_url, HttpLimits limits) : impl_(std::make_unique<Impl>()) {
  InitCurlOnce();
  impl_->base_url = std::move(base_url);
  impl_->limits = limits;
  impl_->ShareConnections();
  impl_->MakeHeaders();
}

HttpClient::~HttpClient() = default;

const std::string& HttpClient::BaseUrl() const { return impl_->base_url; }

const HttpLimits& HttpClient::Limits() const { return impl_->limits; }

std::string HttpClient::UrlFor(const std::string& file_name) const {
  return impl_->base_url + EscapeFileName(file_name);
}

void HttpClient::Get(const std::string& file_name, std::string& stream,
                     std::size_t max_body_bytes) {
  Impl& impl = *impl_;
  if (file_name.size() > kMaxFileNameBytes) {
    throw FetchError("a file name of " + std::to_string(file_name.size()) +
                     " bytes is longer than any file can have");
  }
  const std::string url = UrlFor(file_name);
  impl.RenewHandle();
  impl.transfer = Transfer{};
  impl.transfer.curl = impl.curl;
  impl.transfer.sink = &stream;
  impl.transfer.max_body_bytes = max_body_bytes;
  impl.transfer.stall_timeout = impl.limits.stall_timeout;
  impl.error_buffer[0] = '\0';
  impl.Set(CURLOPT_URL, url.c_str());
  impl.Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(max_body_bytes));

  const CURLcode code = curl_easy_perform(impl.curl);
  if (code != CURLE_OK) throw FetchError("GET " + url + ": " + impl.Describe(code));
  long status = 0;
  curl_easy_getinfo(impl.curl, CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status > 299) {
    throw FetchError("GET " + url + ": HTTP status " + std::to_string(status));
  }
}

std::string HttpClient::Get(const std::string& file_name) {
  std::string body;
  Get(file_name, body, impl_->limits.max_text_bytes);
  return body;
}

}  // namespace content
