#include "content/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "content/answer_head.h"
#include "content/content_error.h"
#include "content/request_target.h"

namespace content {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Sent after the Host line, in this order, instead of libcurl's own Accept and User-Agent.
constexpr const char* kRequestHeaders[] = {
    "Accept: text/html, */*",
    "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
};

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
  bool connected = false;  // the stall clock runs only from here; connecting has its own
  Clock::time_point last_activity{};
  AnswerHead head;
  std::size_t body_bytes = 0;
  bool status_known = false;
  bool keep_body = false;  // only a 2xx body reaches the sink; others are read and dropped
  bool over_cap = false;
  bool out_of_memory = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  transfer.last_activity = Clock::now();
  return transfer.head.Take(std::string_view(data, n)) ? n : CURL_WRITEFUNC_ERROR;
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
    // One buffer of the announced size, rather than one regrown and copied a dozen times.
    curl_off_t length = -1;
    curl_easy_getinfo(transfer.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (transfer.keep_body && length > 0 &&
        static_cast<std::size_t>(length) <= transfer.max_body_bytes) {
      try {
        transfer.sink->reserve(transfer.sink->size() + static_cast<std::size_t>(length));
      } catch (...) {
        transfer.out_of_memory = true;
        return CURL_WRITEFUNC_ERROR;
      }
    }
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

long Milliseconds(milliseconds duration) {
  return static_cast<long>(std::max<milliseconds::rep>(duration.count(), 1));
}

}  // namespace

struct HttpClient::Impl {
  std::string base_url;
  HttpLimits limits;
  PollWait own_wait;
  NetworkWait* wait = &own_wait;
  CURLM* multi = nullptr;  // its connection cache keeps the connection between requests
  CURL* curl = nullptr;    // the handle of the request under way
  curl_slist* headers = nullptr;
  Transfer transfer;
  char error_buffer[CURL_ERROR_SIZE] = {};
  std::map<curl_socket_t, SocketWatch> sockets;  // what libcurl wants watched
  std::optional<Clock::time_point> timer_due;    // when libcurl wants to be called back
  bool short_waits = false;
  bool abandoned = false;
  bool stalled = false;

  ~Impl() {
    Drop();
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
  }

  static int OnSocket(CURL*, curl_socket_t socket, int what, void* user, void*) {
    auto& impl = *static_cast<Impl*>(user);
    if (what == CURL_POLL_REMOVE) {
      impl.sockets.erase(socket);
    } else {
      impl.sockets[socket] = {static_cast<int>(socket),
                              what == CURL_POLL_IN || what == CURL_POLL_INOUT,
                              what == CURL_POLL_OUT || what == CURL_POLL_INOUT};
    }
    return 0;
  }

  static int OnTimer(CURLM*, long timeout_ms, void* user) {
    auto& impl = *static_cast<Impl*>(user);
    if (timeout_ms < 0) {
      impl.timer_due.reset();
    } else {
      impl.timer_due = Clock::now() + milliseconds(timeout_ms);
    }
    return 0;
  }

  void MakeMulti() {
    multi = curl_multi_init();
    if (multi == nullptr ||
        curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, OnSocket) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, OnTimer) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this) != CURLM_OK) {
      throw FetchError("libcurl could not set up its transfers");
    }
  }

  void MakeHeaders() {
    for (const char* header : kRequestHeaders) {
      curl_slist* longer = curl_slist_append(headers, header);
      if (longer == nullptr) throw FetchError("out of memory for the request headers");
      headers = longer;
    }
  }

  template <typename Value>
  void Set(CURLoption option, Value value) {
    if (curl_easy_setopt(curl, option, value) != CURLE_OK) {
      throw FetchError("libcurl refused an option of the HTTP client");
    }
  }

  milliseconds ConnectTimeout() const {
    return short_waits ? std::min(limits.connect_timeout, limits.retry_timeout)
                       : limits.connect_timeout;
  }
  milliseconds StallTimeout() const {
    return short_waits ? std::min(limits.stall_timeout, limits.retry_timeout)
                       : limits.stall_timeout;
  }

  // A fresh handle for the next request, on the connections the earlier ones left open.
  void Prepare(const std::string& url, std::string& stream, std::size_t max_body_bytes) {
    curl = curl_easy_init();
    if (curl == nullptr) throw FetchError("libcurl could not create a handle");
    transfer = Transfer{};
    transfer.curl = curl;
    transfer.sink = &stream;
    transfer.max_body_bytes = max_body_bytes;
    stalled = false;
    error_buffer[0] = '\0';

    Set(CURLOPT_URL, url.c_str());
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
    Set(CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(ConnectTimeout()));
    Set(CURLOPT_TIMEOUT_MS, Milliseconds(limits.transfer_timeout));
    Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(max_body_bytes));
    Set(CURLOPT_HEADERFUNCTION, OnHeader);
    Set(CURLOPT_HEADERDATA, &transfer);
    Set(CURLOPT_WRITEFUNCTION, OnBody);
    Set(CURLOPT_WRITEDATA, &transfer);
    Set(CURLOPT_PREREQFUNCTION, OnConnected);
    Set(CURLOPT_PREREQDATA, &transfer);
    if (curl_multi_add_handle(multi, curl) != CURLM_OK) {
      throw FetchError("libcurl could not start the request");
    }
  }

  // Takes the handle out of the multi: a transfer not finished is dropped with its connection.
  void Drop() {
    if (curl == nullptr) return;
    curl_multi_remove_handle(multi, curl);
    curl_easy_cleanup(curl);
    curl = nullptr;
  }

  void Act(curl_socket_t socket, int events) {
    int running = 0;
    curl_multi_socket_action(multi, socket, events, &running);
  }

  // The result of the request once libcurl says it is done.
  std::optional<CURLcode> Done() {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
        return message->data.result;
      }
    }
    return std::nullopt;
  }

  // Runs the request to its end, waiting between steps. Nothing is returned or thrown before
  // the handle is out of the multi again.
  CURLcode Run() {
    timer_due.reset();
    Act(CURL_SOCKET_TIMEOUT, 0);
    for (;;) {
      if (const std::optional<CURLcode> result = Done()) return *result;
      const Clock::time_point now = Clock::now();
      if (timer_due && *timer_due <= now) {
        timer_due.reset();
        Act(CURL_SOCKET_TIMEOUT, 0);
        continue;
      }
      std::optional<Clock::time_point> wake = timer_due;
      if (transfer.connected) {
        const Clock::time_point stall_due = transfer.last_activity + StallTimeout();
        if (stall_due <= now) {
          stalled = true;
          return CURLE_OPERATION_TIMEDOUT;
        }
        wake = wake ? std::min(*wake, stall_due) : stall_due;
      }
      // libcurl always keeps a timer while a transfer runs; a second is only a safeguard.
      const milliseconds timeout =
          std::chrono::ceil<milliseconds>((wake ? *wake : now + std::chrono::seconds(1)) - now);
      std::vector<SocketWatch> watches;
      watches.reserve(sockets.size());
      for (const auto& [socket, watch] : sockets) watches.push_back(watch);
      const std::vector<SocketReady> ready = wait->Wait(watches, timeout);
      if (abandoned) throw TransferAbandoned();
      for (const SocketReady& socket : ready) {
        Act(socket.fd, (socket.read ? CURL_CSELECT_IN : 0) | (socket.write ? CURL_CSELECT_OUT : 0));
      }
    }
  }

  std::string Describe(CURLcode code) const {
    if (transfer.over_cap || code == CURLE_FILESIZE_EXCEEDED) {
      return "the body is larger than " + std::to_string(transfer.max_body_bytes) + " bytes";
    }
    if (transfer.head.TooLarge()) return "the answer's head is too large";
    if (transfer.head.LengthsDisagree()) return "the answer gives two different lengths";
    if (transfer.out_of_memory) return "out of memory for the body";
    if (stalled) {
      return "no data from the server for " + std::to_string(StallTimeout().count()) + " ms";
    }
    if (code == CURLE_OPERATION_TIMEDOUT && transfer.connected) {
      return "no whole answer within " + std::to_string(limits.transfer_timeout.count()) + " ms";
    }
    if (code == CURLE_OPERATION_TIMEDOUT) {
      return "no connection within " + std::to_string(ConnectTimeout().count()) + " ms";
    }
    std::string what = curl_easy_strerror(code);
    if (error_buffer[0] != '\0') what += std::string(" (") + error_buffer + ")";
    return what;
  }
};

HttpClient::HttpClient(std::string base_url, HttpLimits limits, NetworkWait* wait)
    : impl_(std::make_unique<Impl>()) {
  InitCurlOnce();
  impl_->base_url = std::move(base_url);
  impl_->limits = limits;
  if (wait != nullptr) impl_->wait = wait;
  impl_->MakeMulti();
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
  if (impl.abandoned) throw TransferAbandoned();
  if (file_name.size() > kMaxFileNameBytes) {
    throw FetchError("a file name of " + std::to_string(file_name.size()) +
                     " bytes is longer than any file can have");
  }
  const std::string url = UrlFor(file_name);
  CURLcode code = CURLE_OK;
  try {
    impl.Prepare(url, stream, max_body_bytes);
    code = impl.Run();
  } catch (...) {
    impl.Drop();
    throw;
  }
  long status = 0;
  curl_easy_getinfo(impl.curl, CURLINFO_RESPONSE_CODE, &status);
  const std::string failure = code == CURLE_OK ? std::string() : impl.Describe(code);
  impl.Drop();
  if (code == CURLE_OPERATION_TIMEDOUT) throw TimeoutError("GET " + url + ": " + failure);
  if (code != CURLE_OK) throw FetchError("GET " + url + ": " + failure);
  if (status < 200 || status > 299) {
    throw FetchError("GET " + url + ": HTTP status " + std::to_string(status));
  }
}

std::string HttpClient::Get(const std::string& file_name) {
  std::string body;
  Get(file_name, body, impl_->limits.max_text_bytes);
  return body;
}

void HttpClient::ShortenWaits(bool on) { impl_->short_waits = on; }

void HttpClient::Abandon() {
  impl_->abandoned = true;
  impl_->wait->Interrupt();
}

}  // namespace content
