#include "content/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

#include "content/connection_policy.h"
#include "content/content_error.h"
#include "content/curl_bridge.h"
#include "content/fetch_failure.h"
#include "content/request_target.h"
#include "content/transfer.h"

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

}  // namespace

// The request under way, from a fresh handle to its end, on the bridge's connection.
struct HttpClient::Impl {
  // Why the client stopped a request that libcurl had not ended.
  enum class Cut { kNone, kNoProgress, kOutOfTime };

  explicit Impl(NetworkWait* wait_) : wait(wait_ ? *wait_ : own_wait), bridge(wait) {}
  ~Impl() {
    Drop();
    curl_slist_free_all(headers);
  }

  std::string base_url;
  HttpLimits limits;
  PollWait own_wait;
  NetworkWait& wait;
  CurlBridge bridge;
  curl_slist* headers = nullptr;
  std::optional<Transfer> transfer;  // the request under way
  int budgets = 0;
  std::optional<Clock::time_point> deadline;  // of the outermost budget
  ConnectionPolicy policy;
  bool short_waits = false;
  bool abandoned = false;
  // How the request under way ended, once it has.
  std::optional<CURLcode> result;
  Cut cut = Cut::kNone;

  void MakeHeaders() {
    for (const char* header : kRequestHeaders) {
      curl_slist* longer = curl_slist_append(headers, header);
      if (longer == nullptr) throw FetchError("out of memory for the request headers");
      headers = longer;
    }
  }

  milliseconds Shortened(milliseconds wait_for) const {
    return short_waits ? std::min(wait_for, limits.retry_timeout) : wait_for;
  }

  // A fresh handle for the next request, on the connection the earlier ones left open.
  void Start(const std::string& url, std::string& stream, std::size_t max_body_bytes) {
    TransferSettings settings;
    settings.connect_timeout = Shortened(limits.connect_timeout);
    settings.transfer_timeout = limits.transfer_timeout;
    settings.window = Shortened(limits.progress_window);
    settings.window_bytes = static_cast<std::size_t>(
        static_cast<double>(limits.min_bytes_per_second) * settings.window.count() / 1000.0);
    settings.max_body_bytes = max_body_bytes;
    settings.own_connection = policy.ConnectionPerRequest();
    transfer.emplace(url, stream, headers, settings);
    result.reset();
    cut = Cut::kNone;
    if (const CURLMcode code = curl_multi_add_handle(bridge.Multi(), transfer->curl);
        code != CURLM_OK) {
      transfer.reset();
      throw FetchError(std::string("libcurl could not start the request: ") +
                       curl_multi_strerror(code));
    }
  }

  // Takes the handle out of the multi: a transfer not finished is dropped with its connection.
  void Drop() {
    if (!transfer) return;
    const CURLMcode code = curl_multi_remove_handle(bridge.Multi(), transfer->curl);
    transfer.reset();
    // The multi no longer knows its own state: start afresh rather than trust it.
    if (code != CURLM_OK) {
      policy.Failed();
      bridge.Reset();
    }
  }

  bool Ended() const {
    return result || cut != Cut::kNone || abandoned || bridge.Error() != CURLM_OK;
  }

  // Whether libcurl has ended the request, the budget is spent or the transfer has stalled.
  bool Check() {
    if (Ended()) return true;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(bridge.Multi(), &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == transfer->curl) {
        result = message->data.result;
        return true;
      }
    }
    const Clock::time_point now = Clock::now();
    if (deadline && *deadline <= now) {
      cut = Cut::kOutOfTime;
    } else if (transfer->progress && !transfer->progress->Moving(now)) {
      cut = Cut::kNoProgress;
    }
    return Ended();
  }

  // What comes first of the end of the progress window and the end of the budget.
  std::optional<Clock::time_point> Due() const {
    std::optional<Clock::time_point> due = deadline;
    if (transfer->progress && (!due || transfer->progress->WindowEnd() < *due)) {
      due = transfer->progress->WindowEnd();
    }
    return due;
  }

  // Runs the request to its end in one wait. Nothing is returned or thrown before the handle
  // is out of the multi again.
  void Run() {
    bridge.Run([this] { return Check(); }, [this] { return Due(); });
    if (abandoned) throw TransferAbandoned();
  }

  std::string Describe() const {
    const CURLcode code = result.value_or(CURLE_OK);
    if (auto fault = transfer->AnswerFault(code)) return *fault;
    const std::optional<ProgressWindow>& progress = transfer->progress;
    if (cut == Cut::kOutOfTime) return OutOfTimeText();
    if (cut == Cut::kNoProgress && progress->Bytes() == 0) {
      return "timed out: no data from the server for " + Ms(progress->Window());
    }
    if (cut == Cut::kNoProgress) {
      return "too slow: " + std::to_string(progress->Bytes()) + " bytes in " +
             Ms(progress->Window()) + ", at least " + std::to_string(progress->MinBytes()) +
             " needed";
    }
    if (bridge.Error() != CURLM_OK) {
      return std::string("libcurl failed: ") + curl_multi_strerror(bridge.Error());
    }
    return transfer->Failure(code);
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

HttpClient::HttpClient(std::string base_url, HttpLimits limits, NetworkWait* wait) {
  InitCurlOnce();
  impl_ = std::make_unique<Impl>(wait);
  impl_->base_url = std::move(base_url);
  impl_->limits = limits;
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
    if (impl.policy.MustDropKept()) impl.bridge.Reset();
    impl.Start(url, stream, max_body_bytes);
    impl.Run();
  } catch (...) {
    impl.policy.Failed();
    impl.Drop();
    throw;
  }
  long status = 0;
  curl_easy_getinfo(impl.transfer->curl, CURLINFO_RESPONSE_CODE, &status);
  bool ok =
      impl.result == CURLE_OK && impl.cut == Impl::Cut::kNone && impl.bridge.Error() == CURLM_OK;
  std::string failure = ok ? std::string() : impl.Describe();
  if (ok) {
    curl_socket_t kept = CURL_SOCKET_BAD;
    curl_easy_getinfo(impl.transfer->curl, CURLINFO_ACTIVESOCKET, &kept);
    if (auto refused = impl.policy.Judge(impl.transfer->head, text, kept)) {
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
  impl_->bridge.Stop();
}

}  // namespace content
