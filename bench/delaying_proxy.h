#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

namespace bench {

// A loopback TCP proxy that holds each piece the client sends for `delay` before it passes it
// on: a request reaches the server that much late, as over a network with that latency one
// way. Answers pass at once, or at `answer_bytes_per_second` when that is not 0, as over a
// line of that speed. One thread per connection; it stops with the object.
class DelayingProxy {
 public:
  DelayingProxy(std::uint16_t server_port, std::chrono::milliseconds delay,
                std::size_t answer_bytes_per_second = 0);
  ~DelayingProxy();
  DelayingProxy(const DelayingProxy&) = delete;
  DelayingProxy& operator=(const DelayingProxy&) = delete;

  std::uint16_t Port() const { return port_; }
  int Connections() const { return connections_; }
  // Bytes of the answers passed on so far.
  std::size_t AnswerBytes() const { return answer_bytes_; }

 private:
  void Accept();
  void Relay(int client);

  std::uint16_t server_port_;
  std::chrono::milliseconds delay_;
  std::size_t answer_rate_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::atomic<std::size_t> answer_bytes_{0};
  std::mutex mutex_;
  std::list<std::thread> relays_;
  std::thread acceptor_;
};

}  // namespace bench
