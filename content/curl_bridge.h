#pragma once

#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "content/network_wait.h"

namespace content {

// libcurl's multi interface on a NetworkWait. libcurl itself keeps the watch of each socket it
// watches (curl_multi_assign); a socket it stops watching keeps its watch, idle, until libcurl
// watches it again or the multi goes, since a kept connection is left alone between requests.
// One timer of the waiter serves libcurl's timer and the caller's own next deadline.
class CurlBridge final : NetworkEvents {
 public:
  using Clock = std::chrono::steady_clock;

  explicit CurlBridge(NetworkWait& wait);
  ~CurlBridge();
  CurlBridge(const CurlBridge&) = delete;
  CurlBridge& operator=(const CurlBridge&) = delete;

  // Its connection cache keeps the connection between requests. Made when first needed, and
  // again after Reset. Throws FetchError.
  CURLM* Multi();
  // Closes every connection, the only way to close the one libcurl keeps.
  void Reset();

  // Lets libcurl work and the waiter wait until `ended` holds, asked after every report. The
  // waiter's timer is set for the earlier of libcurl's timer and `due` (nullopt: none of the
  // caller's own).
  void Run(const std::function<bool()>& ended,
           const std::function<std::optional<Clock::time_point>()>& due);
  // Ends the Run under way.
  void Stop() { wait_.Stop(); }
  // The first failure of libcurl's multi interface in the Run under way; CURLM_OK when none.
  CURLMcode Error() const { return error_; }

 private:
  static int OnSocket(CURL*, curl_socket_t socket, int what, void* user, void* watch);
  static int OnTimer(CURLM*, long timeout_ms, void* user);
  void Act(curl_socket_t socket, int events);
  void Settle();
  void SocketReady(int fd, bool read, bool write) override;
  void TimerDue() override;

  NetworkWait& wait_;
  CURLM* multi_ = nullptr;
  // Watches of sockets that libcurl has stopped watching; a closed socket's number comes back
  // with the next socket, and a watch watches a number.
  std::map<curl_socket_t, std::unique_ptr<NetworkWait::SocketWatch>> idle_;
  std::optional<Clock::time_point> curl_due_;  // when libcurl wants to be called back
  std::optional<Clock::time_point> wake_;      // the waiter's timer, as last set
  const std::function<bool()>* ended_ = nullptr;
  const std::function<std::optional<Clock::time_point>()>* due_ = nullptr;
  CURLMcode error_ = CURLM_OK;
};

}  // namespace content
