#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Bare libcurl on one easy handle: the yardstick for the game's own fetches. It keeps its
// connection open between calls and each body in memory, and does nothing else.
namespace bench {

class CurlSession {
 public:
  CurlSession();
  ~CurlSession();
  CurlSession(const CurlSession&) = delete;
  CurlSession& operator=(const CurlSession&) = delete;

  // Fetches the addresses one after another. Throws std::runtime_error when one fails or is
  // answered with a status outside 200 to 299.
  void FetchAll(const std::vector<std::string>& urls);
  std::size_t BytesReceived() const { return bytes_received_; }

 private:
  void* curl_;  // CURL*, kept out of the header
  std::string body_;
  std::size_t bytes_received_ = 0;
};

}  // namespace bench
