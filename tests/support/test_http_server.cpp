#include "tests/support/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <iterator>
#include <list>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

constexpr std::size_t kMaxRequestHead = 64 << 10;

std::runtime_error SystemError(const std::string& what) {
  return std::runtime_error("test server: " + what + ": " + std::strerror(errno));
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string ReasonFor(int status) {
  static const std::map<int, std::string> kReasons = {
      {200, "OK"},
      {204, "No Content"},
      {206, "Partial Content"},
      {301, "Moved Permanently"},
      {302, "Found"},
      {303, "See Other"},
      {304, "Not Modified"},
      {307, "Temporary Redirect"},
      {308, "Permanent Redirect"},
      {400, "Bad Request"},
      {401, "Unauthorized"},
      {403, "Forbidden"},
      {404, "Not Found"},
      {431, "Request Header Fields Too Large"},
      {500, "Internal Server Error"},
      {501, "Not Implemented"},
      {503, "Service Unavailable"},
  };
  const auto it = kReasons.find(status);
  return it != kReasons.end() ? it->second : "Status " + std::to_string(status);
}

bool IsBodyless(int status) { return status / 100 == 1 || status == 204 || status == 304; }

std::string Hex(std::size_t n) {
  std::ostringstream out;
  out << std::hex << n;
  return out.str();
}

std::string Chunk(std::string_view data) {
  return Hex(data.size()) + "\r\n" + std::string(data) + "\r\n";
}

// The parts of a request head the server acts on.
struct ParsedHead {
  bool valid = false;
  std::string method;
  std::string target;
  bool wants_close = false;
  bool has_transfer_encoding = false;
  std::size_t content_length = 0;
};

ParsedHead Parse(std::string_view head) {
  ParsedHead parsed;
  const std::size_t line_end = head.find("\r\n");
  const std::string_view line = head.substr(0, line_end);
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == line.npos || first == last) return parsed;
  parsed.method = std::string(line.substr(0, first));
  parsed.target = std::string(line.substr(first + 1, last - first - 1));
  const std::string_view version = line.substr(last + 1);
  bool keep_alive = false;
  std::size_t pos = line_end + 2;
  while (pos < head.size()) {
    const std::size_t end = head.find("\r\n", pos);
    const std::string_view header = head.substr(pos, end - pos);
    pos = end == head.npos ? head.size() : end + 2;
    const std::size_t colon = header.find(':');
    if (colon == header.npos) continue;
    const std::string name = Lower(Trim(header.substr(0, colon)));
    const std::string value = Lower(Trim(header.substr(colon + 1)));
    if (name == "connection") {
      parsed.wants_close |= value == "close";
      keep_alive |= value == "keep-alive";
    } else if (name == "content-length") {
      parsed.content_length = std::strtoull(value.c_str(), nullptr, 10);
    } else if (name == "transfer-encoding") {
      parsed.has_transfer_encoding = true;
    }
  }
  parsed.wants_close |= version == "HTTP/1.0" && !keep_alive;
  parsed.valid = version.substr(0, 5) == "HTTP/";
  return parsed;
}

// One accepted connection: its socket, and everything that waits on the socket or on time
// also wakes when the server stops.
class Link {
 public:
  // No Nagle delay: a reply often goes out in more than one send.
  Link(int fd, int stop_event) : fd_(fd), stop_event_(stop_event) {
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  ~Link() {
    if (reset_) {
      const linger abort{1, 0};
      setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    } else {
      shutdown(fd_, SHUT_WR);
    }
    close(fd_);
  }
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  void ResetOnClose() { reset_ = true; }

  // Appends what arrives; false on end of stream, error or stop.
  bool Receive(std::string& buffer) {
    if (!WaitFor(POLLIN)) return false;
    char chunk[16 << 10];
    const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(n));
    return true;
  }

  bool Send(std::string_view data) {
    while (!data.empty()) {
      if (!WaitFor(POLLOUT)) return false;
      const ssize_t n = send(fd_, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // False when the server stops during the pause.
  bool Pause(std::chrono::milliseconds duration) {
    pollfd stop{stop_event_, POLLIN, 0};
    return poll(&stop, 1, static_cast<int>(duration.count())) == 0;
  }

  // Until the client goes away or the server stops, reading and dropping what comes.
  void Idle() {
    std::string ignored;
    while (Receive(ignored)) ignored.clear();
  }

 private:
  bool WaitFor(short events) {
    pollfd fds[2] = {{fd_, events, 0}, {stop_event_, POLLIN, 0}};
    for (;;) {
      const int ready = poll(fds, 2, -1);
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0 || (fds[1].revents & POLLIN) != 0) return false;
      return true;  // POLLERR and POLLHUP show up in the recv or send that follows
    }
  }

  int fd_;
  int stop_event_;
  bool reset_ = false;
};

std::string HeadOf(const Reply& reply, bool closing, bool bodyless) {
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " +
                     (reply.reason.empty() ? ReasonFor(reply.status) : reply.reason) + "\r\n";
  if (!bodyless) {
    if (reply.fault == Fault::kTruncated) {
      head += "Content-Length: " + std::to_string(reply.body.size() + reply.missing_bytes) + "\r\n";
    } else if (reply.fault == Fault::kEndlessBody && reply.framing == Framing::kContentLength) {
      head += "Content-Length: " + std::to_string(kEndlessLength) + "\r\n";
    } else if (reply.fault == Fault::kMalformedChunks || reply.framing == Framing::kChunked) {
      head += "Transfer-Encoding: chunked\r\n";
    } else if (reply.framing == Framing::kContentLength) {
      head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    }
  }
  if (closing) head += "Connection: close\r\n";
  for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
  return head + "\r\n";
}

// Sends the reply with its fault; true when the connection may serve another request.
bool Answer(Link& link, const Reply& reply, bool head_only, bool client_closes) {
  if (reply.fault == Fault::kCloseBeforeReply) return false;
  if (reply.fault == Fault::kNeverAnswer) {
    link.Idle();
    return false;
  }
  const bool bodyless = IsBodyless(reply.status);
  const bool chunked = reply.framing == Framing::kChunked && reply.fault != Fault::kTruncated;
  // Faults break the connection without announcing it.
  const bool closing =
      reply.close_after || client_closes ||
      (reply.framing == Framing::kCloseDelimited && reply.fault != Fault::kTruncated);
  const std::string head = HeadOf(reply, closing, bodyless);
  const std::string_view body = reply.body;
  const std::string_view half = body.substr(0, body.size() / 2);
  auto framed = [chunked](std::string_view data) {
    return chunked ? Chunk(data) : std::string(data);
  };
  if (head_only || bodyless) return link.Send(head) && !closing;
  if (reply.fault == Fault::kNone) {
    std::string out = head;
    if (!chunked) {
      out += body;
    } else {
      if (!body.empty()) out += Chunk(body);
      out += "0\r\n\r\n";
    }
    if (reply.unasked_in_same_write) out += reply.unasked;
    if (!link.Send(out)) return false;
    if (!reply.unasked_in_same_write && !reply.unasked.empty() &&
        (!link.Pause(reply.unasked_delay) || !link.Send(reply.unasked))) {
      return false;
    }
    return !closing;
  }
  if (reply.fault == Fault::kSpreadOut) {
    std::string out = head + framed(body) + (chunked ? "0\r\n\r\n" : "");
    const std::size_t pieces = std::max<std::size_t>(reply.pieces, 1);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
      const std::size_t from = out.size() * piece / pieces;
      const std::size_t to = out.size() * (piece + 1) / pieces;
      if ((piece > 0 && !link.Pause(reply.drip_interval)) ||
          !link.Send(std::string_view(out).substr(from, to - from))) {
        return false;
      }
    }
    return !closing;
  }

  if (!link.Send(head)) return false;
  switch (reply.fault) {
    case Fault::kResetBeforeBody:
      link.ResetOnClose();
      return false;
    case Fault::kResetMidBody:
      if (!half.empty()) link.Send(framed(half));
      link.ResetOnClose();
      return false;
    case Fault::kTruncated:
      link.Send(body);
      return false;
    case Fault::kMalformedChunks:
      link.Send(Chunk(half) + "zz-not-a-size\r\n");
      return false;
    case Fault::kEndlessBody: {
      // Large pieces, so that the client meets its cap quickly.
      std::string piece = body.empty() ? std::string("x") : std::string(body);
      while (piece.size() < (16u << 10)) piece += piece;
      const std::string framed_piece = framed(piece);
      while (link.Send(framed_piece)) {
      }
      return false;
    }
    case Fault::kDripBody:
      for (std::size_t i = 0; i < body.size(); ++i) {
        if (!link.Pause(reply.drip_interval) || !link.Send(framed(body.substr(i, 1)))) {
          return false;
        }
      }
      return (!chunked || link.Send("0\r\n\r\n")) && !closing;
    default:
      return false;
  }
}

}  // namespace

std::string ContentTypeFor(std::string_view file_name) {
  const std::string name = Lower(file_name);
  auto ends_with = [&name](std::string_view suffix) { return name.ends_with(suffix); };
  if (ends_with(".jpg") || ends_with(".jpeg")) return "image/jpeg";
  if (ends_with(".txt")) return "text/plain";
  if (ends_with(".html") || ends_with(".htm")) return "text/html";
  return "application/octet-stream";
}

Reply Reply::Ok(std::string body, std::string content_type) {
  Reply reply;
  reply.body = std::move(body);
  reply.headers.emplace_back("Content-Type", std::move(content_type));
  return reply;
}

Reply Reply::Html(int status) {
  const std::string title = std::to_string(status) + " " + ReasonFor(status);
  Reply reply;
  reply.status = status;
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + title + "</title></head><body><h1>" +
               title + "</h1></body></html>\n";
  reply.headers.emplace_back("Content-Type", "text/html");
  return reply;
}

Reply Reply::Redirect(int status, std::string location) {
  Reply reply = Html(status);
  reply.headers.emplace_back("Location", std::move(location));
  return reply;
}

class TestHttpServer::Core {
 public:
  explicit Core(std::uint16_t port) : port_(port) {
    default_reply_ = std::make_shared<const Reply>(Reply::Html(404));
  }

  ~Core() { Stop(); }

  void Start() {
    std::lock_guard run_lock(run_mutex_);
    if (listener_ >= 0) return;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw SystemError("socket");
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port_);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 64) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      const auto error = SystemError("listen on port " + std::to_string(port_));
      close(fd);
      throw error;
    }
    const int stop_event = eventfd(0, EFD_CLOEXEC);
    if (stop_event < 0) {
      const auto error = SystemError("eventfd");
      close(fd);
      throw error;
    }
    port_ = ntohs(address.sin_port);
    listener_ = fd;
    stop_event_ = stop_event;
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  void Stop() {
    std::lock_guard run_lock(run_mutex_);
    if (listener_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(stop_event_, &one, sizeof one);
    acceptor_.join();
    close(listener_);
    listener_ = -1;
    for (Worker& worker : workers_) worker.thread.join();
    workers_.clear();
    close(stop_event_);
    stop_event_ = -1;
  }

  bool Running() const {
    std::lock_guard run_lock(run_mutex_);
    return listener_ >= 0;
  }

  std::uint16_t Port() const {
    std::lock_guard run_lock(run_mutex_);
    return port_;
  }

  void Route(const std::string& target, Reply reply) {
    auto shared = std::make_shared<const Reply>(std::move(reply));
    std::lock_guard lock(mutex_);
    routes_[target] = std::move(shared);
  }

  void SetDefaultReply(Reply reply) {
    auto shared = std::make_shared<const Reply>(std::move(reply));
    std::lock_guard lock(mutex_);
    default_reply_ = std::move(shared);
  }

  void ClearRoutes() {
    std::lock_guard lock(mutex_);
    routes_.clear();
  }

  std::vector<RecordedRequest> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return requests_changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
  }

  void ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }

  void SetRequestObserver(RequestObserver observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
  }

  int ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_;
  }

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  void AcceptLoop() {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stop_event_, POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
      if ((fds[1].revents & POLLIN) != 0) return;
      if ((fds[0].revents & POLLIN) == 0) continue;
      const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      ReapFinishedWorkers();
      int serial = 0;
      {
        std::lock_guard lock(mutex_);
        serial = ++connections_;
      }
      try {
        Worker& worker = workers_.emplace_back();
        worker.done = std::make_shared<std::atomic<bool>>(false);
        worker.thread = std::thread([this, fd, serial, done = worker.done] {
          Serve(fd, serial);
          *done = true;
        });
      } catch (...) {
        // No thread to serve it: the client sees the connection close.
        if (!workers_.empty() && !workers_.back().thread.joinable()) workers_.pop_back();
        close(fd);
      }
    }
  }

  void ReapFinishedWorkers() {
    for (auto it = workers_.begin(); it != workers_.end();) {
      if (*it->done) {
        it->thread.join();
        it = workers_.erase(it);
      } else {
        ++it;
      }
    }
  }

  void Serve(int fd, int serial) noexcept {
    try {
      Link link(fd, stop_event_);
      std::string buffer;
      for (;;) {
        std::size_t end;
        while ((end = buffer.find("\r\n\r\n")) == buffer.npos) {
          if (buffer.size() > kMaxRequestHead) {
            Answer(link, Reply::Html(431), false, true);
            return;
          }
          if (!link.Receive(buffer)) return;
        }
        const std::string head = buffer.substr(0, end + 4);
        buffer.erase(0, end + 4);
        const ParsedHead parsed = Parse(head);
        Record(head, parsed, serial);
        if (!parsed.valid || parsed.has_transfer_encoding) {
          Answer(link, Reply::Html(parsed.valid ? 501 : 400), false, true);
          return;
        }
        // A request body is read and dropped so that the next request starts in the right place.
        while (buffer.size() < parsed.content_length) {
          if (!link.Receive(buffer)) return;
        }
        buffer.erase(0, parsed.content_length);
        if (!Answer(link, *ReplyFor(parsed.target), parsed.method == "HEAD", parsed.wants_close)) {
          return;
        }
      }
    } catch (...) {
      // Out of memory or a thread failure: the connection ends, the server goes on.
    }
  }

  void Record(const std::string& head, const ParsedHead& parsed, int serial) {
    const RecordedRequest request{head, parsed.method, parsed.target, serial};
    RequestObserver observer;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      observer = observer_;
    }
    requests_changed_.notify_all();
    if (observer) observer(request);
  }

  std::shared_ptr<const Reply> ReplyFor(const std::string& target) const {
    std::lock_guard lock(mutex_);
    const auto it = routes_.find(target);
    return it == routes_.end() ? default_reply_ : it->second;
  }

  mutable std::mutex run_mutex_;  // Start and Stop
  std::uint16_t port_;
  int listener_ = -1;
  int stop_event_ = -1;  // readable from the moment Stop begins
  std::thread acceptor_;
  std::list<Worker> workers_;  // touched by the acceptor, then by Stop once it has joined

  mutable std::mutex mutex_;  // everything below
  mutable std::condition_variable requests_changed_;
  std::map<std::string, std::shared_ptr<const Reply>> routes_;
  std::shared_ptr<const Reply> default_reply_;
  std::vector<RecordedRequest> requests_;
  RequestObserver observer_;
  int connections_ = 0;
};

std::string TestHttpServer::FolderTarget(std::string_view name) {
  return std::string(kFolder) + std::string(name);
}

TestHttpServer::TestHttpServer(std::uint16_t port) : core_(std::make_unique<Core>(port)) {
  core_->Start();
}

TestHttpServer::~TestHttpServer() = default;

void TestHttpServer::Stop() { core_->Stop(); }
void TestHttpServer::Start() { core_->Start(); }
bool TestHttpServer::Running() const { return core_->Running(); }
std::uint16_t TestHttpServer::Port() const { return core_->Port(); }

std::string TestHttpServer::Origin() const { return "http://127.0.0.1:" + std::to_string(Port()); }

std::string TestHttpServer::BaseUrl() const { return Origin() + std::string(kFolder); }

void TestHttpServer::Route(const std::string& target, Reply reply) {
  core_->Route(target, std::move(reply));
}

void TestHttpServer::ServeBytes(std::string_view name, std::string bytes) {
  Route(FolderTarget(name), Reply::Ok(std::move(bytes), ContentTypeFor(name)));
}

void TestHttpServer::ServeFile(std::string_view name, const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("test server: cannot open " + path.string());
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error("test server: cannot read " + path.string());
  ServeBytes(name, std::move(bytes));
}

void TestHttpServer::ServeFolder(const std::map<std::string, std::string>& files) {
  for (const auto& [name, bytes] : files) ServeBytes(name, bytes);
}

void TestHttpServer::SetDefaultReply(Reply reply) { core_->SetDefaultReply(std::move(reply)); }
void TestHttpServer::ClearRoutes() { core_->ClearRoutes(); }
std::vector<RecordedRequest> TestHttpServer::Requests() const { return core_->Requests(); }

std::vector<std::string> TestHttpServer::Targets() const {
  std::vector<std::string> targets;
  for (const RecordedRequest& request : Requests()) targets.push_back(request.target);
  return targets;
}

std::size_t TestHttpServer::RequestCount() const { return Requests().size(); }

bool TestHttpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  return core_->WaitForRequests(count, timeout);
}

void TestHttpServer::ClearRequests() { core_->ClearRequests(); }

void TestHttpServer::SetRequestObserver(RequestObserver observer) {
  core_->SetRequestObserver(std::move(observer));
}
int TestHttpServer::ConnectionCount() const { return core_->ConnectionCount(); }

}  // namespace testsupport
