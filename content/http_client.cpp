#include "content/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

#include "content/answer_head.h"
#include "content/connection_policy.h"
#include "content/content_error.h"
#include "content/fetch_failure.h"
#include "content/progress_window.h"
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

std::string Ms(milliseconds duration) { return std::to_string(duration.count()) + " ms"; }

// What the callbacks learn during one request. They run inside libcurl's frames, so they never
// throw: they record what went wrong and return a value that makes libcurl stop.
struct Transfer {
  CURL* curl = nullptr;
  std::string* sink = nullptr;
  std::size_t max_body_bytes = 0;
  milliseconds window{};
  std::size_t window_bytes = 0;
  std::optional<ProgressWindow> progress;  // from the moment the request goes out
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
  if (transfer.progress) transfer.progress->Add(n);
  return transfer.head.Take(std::string_view(data, n)) ? n : CURL_WRITEFUNC_ERROR;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (transfer.progress) transfer.progress->Add(n);
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

// Called when a connection is made or reused, right before the request goes out: from here
// the transfer must keep moving.
int OnConnected(void* user, char*, char*, int, int) {
  auto& transfer = *static_cast<Transfer*>(user);
  transfer.progress.emplace(transfer.window, transfer.window_bytes, Clock::now());
  return CURL_PREREQFUNC_OK;
}

long Milliseconds(milliseconds duration) {
  return static_cast<long>(std::max<milliseconds::rep>(duration.count(), 1));
}

}  // namespace

struct HttpClient::Impl final : NetworkEvents {
  // Why the client stopped a request that libcurl had not ended.
  enum class Cut { kNone, kNoProgress, kOutOfTime, kLibcurl };

  std::string base_url;
  HttpLimits limits;
  PollWait own_wait;
  NetworkWait* wait = &own_wait;
  CURLM* multi = nullptr;  // its connection cache keeps the connection between requests
  CURL* curl = nullptr;    // the handle of the request under way
  curl_slist* headers = nullptr;
  Transfer transfer;
  char error_buffer[CURL_ERROR_SIZE] = {};
  struct Interest {
    bool read = false;
    bool write = false;
  };
  std::map<curl_socket_t, Interest> watched;
  std::optional<Clock::time_point> curl_timer_due;  // when libcurl wants to be called back
  std::optional<Clock::time_point> wake;            // the waiter's timer, as last set
  int budgets = 0;
  std::optional<Clock::time_point> deadline;  // of the outermost budget
  ConnectionPolicy policy;
  bool short_waits = false;
  bool abandoned = false;
  // How the request under way ended, once it has.
  std::optional<CURLcode> result;
  Cut cut = Cut::kNone;
  CURLMcode multi_error = CURLM_OK;

  ~Impl() {
    Drop();
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
  }

  static int OnSocket(CURL*, curl_socket_t socket, int what, void* user, void*) {
    auto& impl = *static_cast<Impl*>(user);
    if (what == CURL_POLL_REMOVE) {
      impl.watched.erase(socket);
      impl.wait->Watch(socket, false, false);
    } else {
      const Interest interest{what == CURL_POLL_IN || what == CURL_POLL_INOUT,
                              what == CURL_POLL_OUT || what == CURL_POLL_INOUT};
      impl.watched[socket] = interest;
      impl.wait->Watch(socket, interest.read, interest.write);
    }
    return 0;
  }

  static int OnTimer(CURLM*, long timeout_ms, void* user) {
    auto& impl = *static_cast<Impl*>(user);
    impl.curl_timer_due.reset();
    if (timeout_ms >= 0) impl.curl_timer_due = Clock::now() + milliseconds(timeout_ms);
    return 0;
  }

  void MakeMulti() {
    multi = curl_multi_init();
    if (multi == nullptr ||
        curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, OnSocket) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, OnTimer) != CURLM_OK ||
        curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this) != CURLM_OK) {
      curl_multi_cleanup(multi);
      multi = nullptr;
      throw FetchError("libcurl could not set up its transfers");
    }
  }

  // Closes every connection, the only way to close the one libcurl keeps; the next request
  // makes a new multi.
  void ResetMulti() {
    for (const auto& [socket, interest] : watched) wait->Watch(socket, false, false);
    watched.clear();
    curl_multi_cleanup(multi);
    multi = nullptr;
    curl_timer_due.reset();
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
  milliseconds ProgressWindowLength() const {
    return short_waits ? std::min(limits.progress_window, limits.retry_timeout)
                       : limits.progress_window;
  }

  // A fresh handle for the next request, on the connection the earlier ones left open.
  void Prepare(const std::string& url, std::string& stream, std::size_t max_body_bytes) {
    if (multi == nullptr) MakeMulti();
    curl = curl_easy_init();
    if (curl == nullptr) throw FetchError("libcurl could not create a handle");
    transfer = Transfer{};
    transfer.curl = curl;
    transfer.sink = &stream;
    transfer.max_body_bytes = max_body_bytes;
    transfer.window = ProgressWindowLength();
    transfer.window_bytes = static_cast<std::size_t>(
        static_cast<double>(limits.min_bytes_per_second) * transfer.window.count() / 1000.0);
    result.reset();
    cut = Cut::kNone;
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
    if (policy.ConnectionPerRequest()) Set(CURLOPT_FORBID_REUSE, 1L);
    if (const CURLMcode code = curl_multi_add_handle(multi, curl); code != CURLM_OK) {
      throw FetchError(std::string("libcurl could not start the request: ") +
                       curl_multi_strerror(code));
    }
  }

  // Takes the handle out of the multi: a transfer not finished is dropped with its connection.
  void Drop() {
    if (curl == nullptr) return;
    const CURLMcode code = curl_multi_remove_handle(multi, curl);
    curl_easy_cleanup(curl);
    curl = nullptr;
    // The multi no longer knows its own state: start afresh rather than trust it.
    if (code != CURLM_OK) {
      policy.Failed();
      ResetMulti();
    }
  }

  bool Ended() const { return result || cut != Cut::kNone || abandoned; }

  void Act(curl_socket_t socket, int events) {
    int running = 0;
    const CURLMcode code = curl_multi_socket_action(multi, socket, events, &running);
    if (code != CURLM_OK && cut == Cut::kNone) {
      cut = Cut::kLibcurl;
      multi_error = code;
    }
  }

  // Whether libcurl has ended the request, the budget is spent or the transfer has stalled.
  void Check() {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
        result = message->data.result;
        return;
      }
    }
    const Clock::time_point now = Clock::now();
    if (deadline && *deadline <= now) {
      cut = Cut::kOutOfTime;
    } else if (transfer.progress && !transfer.progress->Moving(now)) {
      cut = Cut::kNoProgress;
    }
  }

  // After every report: the request has ended, or the waiter's timer is set for what comes
  // first of libcurl's timer, the end of the progress window and the end of the budget.
  void Settle() {
    if (!Ended()) Check();
    if (Ended()) {
      wait->Stop();
      return;
    }
    std::optional<Clock::time_point> next = curl_timer_due;
    const auto earlier = [&next](Clock::time_point due) {
      if (!next || due < *next) next = due;
    };
    if (deadline) earlier(*deadline);
    if (transfer.progress) earlier(transfer.progress->WindowEnd());
    // libcurl always keeps a timer while a transfer runs; a second is only a safeguard.
    const Clock::time_point now = Clock::now();
    if (!next) next = now + std::chrono::seconds(1);
    if (next == wake) return;
    wake = next;
    wait->SetTimer(std::max(std::chrono::ceil<milliseconds>(*next - now), milliseconds(0)));
  }

  void SocketReady(int fd, bool read, bool write) override {
    Act(fd, (read ? CURL_CSELECT_IN : 0) | (write ? CURL_CSELECT_OUT : 0));
    Settle();
  }

  void TimerDue() override {
    wake.reset();
    if (curl_timer_due && *curl_timer_due <= Clock::now()) {
      curl_timer_due.reset();
      Act(CURL_SOCKET_TIMEOUT, 0);
    }
    Settle();
  }

  // Runs the request to its end in one wait. Nothing is returned or thrown before the handle
  // is out of the multi again.
  void Run() {
    Act(CURL_SOCKET_TIMEOUT, 0);
    Settle();
    while (!Ended()) wait->Run(*this);
    wake.reset();
    wait->SetTimer(std::nullopt);
    if (abandoned) throw TransferAbandoned();
  }

  std::string Describe() const {
    const CURLcode code = result.value_or(CURLE_OK);
    if (transfer.over_cap || code == CURLE_FILESIZE_EXCEEDED) {
      return BodyOverCap(transfer.max_body_bytes);
    }
    if (transfer.head.TooLarge()) return "the answer's head is too large";
    if (transfer.head.LengthsDisagree()) return "the answer gives two different lengths";
    if (transfer.out_of_memory) return "out of memory for the body";
    switch (cut) {
      case Cut::kOutOfTime:
        return OutOfTimeText();
      case Cut::kNoProgress:
        if (transfer.progress->Bytes() == 0) {
          return "timed out: no data from the server for " + Ms(transfer.progress->Window());
        }
        return "too slow: " + std::to_string(transfer.progress->Bytes()) + " bytes in " +
               Ms(transfer.progress->Window()) + ", at least " +
               std::to_string(transfer.progress->MinBytes()) + " needed";
      case Cut::kLibcurl:
        return std::string("libcurl failed: ") + curl_multi_strerror(multi_error);
      case Cut::kNone:
        break;
    }
    if (code == CURLE_OPERATION_TIMEDOUT && transfer.progress) {
      return "timed out: no whole answer within " + Ms(limits.transfer_timeout);
    }
    if (code == CURLE_OPERATION_TIMEDOUT) {
      return "timed out: no connection within " + Ms(ConnectTimeout());
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

  bool TimedOut() const {
    return cut == Cut::kOutOfTime || cut == Cut::kNoProgress || result == CURLE_OPERATION_TIMEDOUT;
  }

  bool OutOfTime() const { return deadline && *deadline <= Clock::now(); }
  std::string OutOfTimeText() const {
    return "out of time: the " + Ms(limits.handler_budget) + " one action may wait are spent";
  }
};

HttpClient::Budget::Budget(HttpClient& client) : client_(client) {
  Impl& impl = *client_.impl_;
  if (impl.budgets++ == 0) impl.deadline = Clock::now() + impl.limits.handler_budget;
}

HttpClient::Budget::~Budget() {
  Impl& impl = *client_.impl_;
  if (--impl.budgets == 0) impl.deadline.reset();
}

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

void HttpClient::Get(const std::string& file_name, std::string& stream, std::size_t max_body_bytes,
                     bool text) {
  Impl& impl = *impl_;
  if (impl.abandoned) throw TransferAbandoned();
  if (file_name.size() > kMaxFileNameBytes) {
    throw FetchError("a file name of " + std::to_string(file_name.size()) +
                     " bytes is longer than any file can have");
  }
  const std::string url = UrlFor(file_name);
  const std::string request = "GET " + url;
  if (impl.OutOfTime()) throw TimeoutError(request, impl.OutOfTimeText());
  try {
    if (impl.policy.MustDropKept()) impl.ResetMulti();
    impl.Prepare(url, stream, max_body_bytes);
    impl.Run();
  } catch (...) {
    impl.policy.Failed();
    impl.Drop();
    throw;
  }
  long status = 0;
  curl_easy_getinfo(impl.curl, CURLINFO_RESPONSE_CODE, &status);
  bool ok = impl.result == CURLE_OK && impl.cut == Impl::Cut::kNone;
  std::string failure = ok ? std::string() : impl.Describe();
  if (ok) {
    curl_socket_t kept = CURL_SOCKET_BAD;
    curl_easy_getinfo(impl.curl, CURLINFO_ACTIVESOCKET, &kept);
    if (auto refused = impl.policy.Judge(impl.transfer.head, text, kept)) {
      ok = false;
      failure = std::move(*refused);
    }
  }
  const bool timed_out = impl.TimedOut();
  impl.Drop();
  if (ok && status >= 200 && status <= 299) return;
  // A whole answer with another status leaves the connection in step.
  if (!ok) impl.policy.Failed();
  if (timed_out) throw TimeoutError(request, failure);
  if (!ok) throw FetchError(request, failure);
  throw FetchError(request, HttpStatus(status));
}

void HttpClient::Get(const std::string& file_name, std::string& stream,
                     std::size_t max_body_bytes) {
  Get(file_name, stream, max_body_bytes, false);
}

std::string HttpClient::Get(const std::string& file_name, bool text) {
  std::string body;
  Get(file_name, body, impl_->limits.max_text_bytes, text);
  return body;
}

std::string HttpClient::Get(const std::string& file_name) { return Get(file_name, false); }

std::string HttpClient::GetText(const std::string& file_name) { return Get(file_name, true); }

void HttpClient::EndConnection() { impl_->policy.Failed(); }

void HttpClient::ShortenWaits(bool on) { impl_->short_waits = on; }

bool HttpClient::OutOfTime() const { return impl_->OutOfTime(); }

void HttpClient::Abandon() {
  impl_->abandoned = true;
  impl_->wait->Stop();
}

}  // namespace content
