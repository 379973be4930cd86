#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// A loopback server that answers every request with the same bytes, whatever they are, and
// then closes the connection, so that a client never waits on it. One connection at a time.
class RawAnswerServer {
 public:
  RawAnswerServer();  // listening on a free port of 127.0.0.1; aborts when it cannot
  ~RawAnswerServer();
  RawAnswerServer(const RawAnswerServer&) = delete;
  RawAnswerServer& operator=(const RawAnswerServer&) = delete;

  std::string BaseUrl() const;  // "http://127.0.0.1:<port>/"
  void SetAnswer(std::string bytes);

 private:
  void Serve();
  void Answer(int connection);

  int listener_ = -1;
  int stop_event_ = -1;
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  std::string answer_;
  std::thread thread_;
};
