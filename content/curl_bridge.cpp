#include "content/curl_bridge.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "content/content_error.h"

namespace content {

using std::chrono::milliseconds;

CurlBridge::CurlBridge(NetworkWait& wait) : wait_(wait) { Multi(); }

CurlBridge::~CurlBridge() { Reset(); }

CURLM* CurlBridge::Multi() {
  if (multi_) return multi_;
  multi_ = curl_multi_init();
  if (multi_ == nullptr ||
      curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, OnSocket) != CURLM_OK ||
      curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this) != CURLM_OK ||
      curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, OnTimer) != CURLM_OK ||
      curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this) != CURLM_OK) {
    curl_multi_cleanup(multi_);
    multi_ = nullptr;
    throw FetchError("libcurl could not set up its transfers");
  }
  return multi_;
}

// Every socket of libcurl's is closed as the multi goes, its connection cache's included.
void CurlBridge::Reset() {
  CURLM* const multi = std::exchange(multi_, nullptr);
  curl_multi_cleanup(multi);
  idle_.clear();
  curl_due_.reset();
}

int CurlBridge::OnSocket(CURL*, curl_socket_t socket, int what, void* user, void* watch) {
  auto& bridge = *static_cast<CurlBridge*>(user);
  auto* kept = static_cast<NetworkWait::SocketWatch*>(watch);
  if (what == CURL_POLL_REMOVE) {
    // libcurl stops watching a kept connection between its requests: its watch waits, idle,
    // for the next one rather than being made anew for each.
    if (kept) {
      kept->Want({});
      bridge.idle_[socket].reset(kept);
    }
    if (bridge.multi_) curl_multi_assign(bridge.multi_, socket, nullptr);
    return 0;
  }
  if (!kept) {
    auto& idle = bridge.idle_[socket];
    kept = idle ? idle.release() : bridge.wait_.Watch(socket).release();
    bridge.idle_.erase(socket);
    curl_multi_assign(bridge.multi_, socket, kept);
  }
  kept->Want({what == CURL_POLL_IN || what == CURL_POLL_INOUT,
              what == CURL_POLL_OUT || what == CURL_POLL_INOUT});
  return 0;
}

int CurlBridge::OnTimer(CURLM*, long timeout_ms, void* user) {
  auto& bridge = *static_cast<CurlBridge*>(user);
  bridge.curl_due_.reset();
  if (timeout_ms >= 0) bridge.curl_due_ = Clock::now() + milliseconds(timeout_ms);
  return 0;
}

void CurlBridge::Run(const std::function<bool()>& ended,
                     const std::function<std::optional<Clock::time_point>()>& due) {
  ended_ = &ended;
  due_ = &due;
  error_ = CURLM_OK;
  struct Done {
    CurlBridge& bridge;
    ~Done() {
      bridge.ended_ = nullptr;
      bridge.due_ = nullptr;
      bridge.wake_.reset();
      bridge.wait_.SetTimer(std::nullopt);
    }
  } done{*this};
  Act(CURL_SOCKET_TIMEOUT, 0);
  Settle();
  while (!ended()) wait_.Run(*this);
}

void CurlBridge::Act(curl_socket_t socket, int events) {
  int running = 0;
  const CURLMcode code = curl_multi_socket_action(Multi(), socket, events, &running);
  if (code != CURLM_OK && error_ == CURLM_OK) error_ = code;
}

// After every report: the run has ended, or the waiter's timer is set for what comes first.
void CurlBridge::Settle() {
  if ((*ended_)()) {
    wait_.Stop();
    return;
  }
  std::optional<Clock::time_point> next = curl_due_;
  if (const auto own = (*due_)(); own && (!next || *own < *next)) next = own;
  // libcurl always keeps a timer while a transfer runs; a second is only a safeguard.
  const Clock::time_point now = Clock::now();
  if (!next) next = now + std::chrono::seconds(1);
  if (next == wake_) return;
  wake_ = next;
  wait_.SetTimer(std::max(std::chrono::ceil<milliseconds>(*next - now), milliseconds(0)));
}

void CurlBridge::SocketReady(int fd, bool read, bool write) {
  Act(fd, (read ? CURL_CSELECT_IN : 0) | (write ? CURL_CSELECT_OUT : 0));
  Settle();
}

void CurlBridge::TimerDue() {
  wake_.reset();
  if (curl_due_ && *curl_due_ <= Clock::now()) {
    curl_due_.reset();
    Act(CURL_SOCKET_TIMEOUT, 0);
  }
  Settle();
}

}  // namespace content
