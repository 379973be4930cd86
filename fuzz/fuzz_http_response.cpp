// Any bytes as the server's whole answer to a request: the client fails with a FetchError or
// delivers a body within its cap, and never waits once the server has closed.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "content/content_error.h"
#include "content/http_client.h"
#include "raw_answer_server.h"

namespace {

using namespace std::chrono_literals;

// A small cap, so that bodies over it are within the fuzzer's reach.
constexpr std::size_t kCap = 1024;

content::HttpLimits Limits() {
  content::HttpLimits limits;
  limits.connect_timeout = 1s;
  limits.progress_window = 1s;
  limits.transfer_timeout = 2s;
  limits.max_text_bytes = kCap;
  return limits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One server and one client for the whole run, as the window keeps its client.
  static RawAnswerServer* const server = new RawAnswerServer;
  static content::HttpClient* const client = new content::HttpClient(server->BaseUrl(), Limits());
  server->SetAnswer(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const std::string body = client->Get("shemoftask.txt");
    if (body.size() > kCap || body.size() > size) __builtin_trap();
  } catch (const content::FetchError&) {
    // A failed fetch: what every handler of the game is ready for.
  }
  return 0;
}
