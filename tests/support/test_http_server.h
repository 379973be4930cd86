#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

// How a reply's body is delimited on the wire.
enum class Framing {
  kContentLength,   // "Content-Length: n"
  kChunked,         // "Transfer-Encoding: chunked": one chunk, or one per byte when dripping
  kCloseDelimited,  // no length at all; the connection closes after the body
};

// Ways a reply can misbehave.
enum class Fault {
  kNone,
  kCloseBeforeReply,  // close the connection as soon as the request is read; send nothing
  kResetBeforeBody,   // send the head, then reset the connection (RST, SO_LINGER 0)
  kResetMidBody,      // send the head and the first half of the body, then reset
  kTruncated,         // announce missing_bytes more than the body (Content-Length), send, close
  kNeverAnswer,       // say nothing until the server stops or the client goes away
  kDripBody,          // send the head, then the body one byte per drip_interval
  kSpreadOut,         // the whole answer, head included, in `pieces` even pieces, the first
                      // at once and one more every drip_interval
  kMalformedChunks,   // chunked: the first half of the body, a size line that is not hex, close
  kEndlessBody,       // the body repeated without end, until the client goes away: with
                      // kContentLength the head announces kEndlessLength bytes
};

// The length an endless body announces with Content-Length: 1 TiB.
inline constexpr std::uint64_t kEndlessLength = std::uint64_t{1} << 40;

struct Reply {
  int status = 200;
  std::string reason;  // empty: the usual phrase for the status
  // Extra header lines, sent as given after the framing headers (no de-duplication).
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;  // not sent for 1xx, 204 and 304, nor to HEAD
  Framing framing = Framing::kContentLength;
  Fault fault = Fault::kNone;
  std::chrono::milliseconds drip_interval{20};
  std::size_t missing_bytes = 100;
  std::size_t pieces = 40;
  // Sent unasked on the same connection after a good reply, in the reply's own write or
  // `unasked_delay` after it: another whole answer, which a client must not take for the
  // answer to its next request.
  std::string unasked;
  bool unasked_in_same_write = false;
  std::chrono::milliseconds unasked_delay{0};
  bool close_after = false;  // send "Connection: close" and close once the reply is out

  // 200 with the body; the type is guessed from a file name when given as one.
  static Reply Ok(std::string body, std::string content_type = "application/octet-stream");
  // A small HTML page naming the status, such as the default 404.
  static Reply Html(int status);
  // A 3xx HTML page with a Location header.
  static Reply Redirect(int status, std::string location);
};

struct RecordedRequest {
  std::string head;    // the raw bytes up to and including the empty line
  std::string method;  // from the request line
  std::string target;  // the request target exactly as sent
  int connection = 0;  // serial of the connection it came on: 1 for the first one accepted
};

// The content type a file name suggests: image/jpeg, text/plain, text/html or octet-stream.
std::string ContentTypeFor(std::string_view file_name);

// A loopback HTTP/1.1 server for tests. It listens on 127.0.0.1, answers every connection on a
// thread of its own, keeps connections alive between requests, records every request and
// answers each target from a route table (the default reply is a 404 page). Thread-safe.
class TestHttpServer {
 public:
  // The folder of the game's files, and its target for a name: folder + name, verbatim.
  static constexpr std::string_view kFolder = "/uploads/all/dravel/1/";
  static std::string FolderTarget(std::string_view name);

  // Listening when constructed; port 0 picks a free port. Throws std::runtime_error when the
  // port cannot be had.
  explicit TestHttpServer(std::uint16_t port = 0);
  ~TestHttpServer();  // Stop()
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  // Stop closes the listener and every open connection, so that the next connect is refused;
  // requests under way get no answer. Start listens again on the same port. Both are no-ops
  // when already in that state.
  void Stop();
  void Start();
  bool Running() const;

  std::uint16_t Port() const;
  std::string Origin() const;   // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;  // Origin() + kFolder

  // Routes are keyed by the exact request target; a later route replaces an earlier one.
  void Route(const std::string& target, Reply reply);
  // Serves `bytes` at FolderTarget(name) with 200 and a type guessed from the name.
  void ServeBytes(std::string_view name, std::string bytes);
  // The same with a file's bytes, read now. Throws std::runtime_error if it cannot be read.
  void ServeFile(std::string_view name, const std::filesystem::path& path);
  // Serves each name -> bytes entry as ServeBytes does.
  void ServeFolder(const std::map<std::string, std::string>& files);
  void SetDefaultReply(Reply reply);
  void ClearRoutes();  // the default reply stays

  std::vector<RecordedRequest> Requests() const;
  std::vector<std::string> Targets() const;
  std::size_t RequestCount() const;
  // True once at least `count` requests have come in; false after `timeout`.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
  void ClearRequests();
  // Called on the serving thread with each request as it comes in, before it is answered, while
  // the client waits for the answer.
  using RequestObserver = std::function<void(const RecordedRequest&)>;
  void SetRequestObserver(RequestObserver observer);
  // Connections accepted since construction, across Stop and Start.
  int ConnectionCount() const;

 private:
  class Core;
  std::unique_ptr<Core> core_;
};

}  // namespace testsupport
