#include "tests/support/test_http_server.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>

namespace {

using testsupport::Fault;
using testsupport::Framing;
using testsupport::Reply;
using testsupport::TestHttpServer;
using namespace std::chrono_literals;

// A bare client socket, to see the server's bytes exactly as they go out.
class RawConnection {
 public:
  explicit RawConnection(std::uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawConnection() { close(fd_); }

  bool Connected() const { return connected_; }
  void Send(const std::string& bytes) {
    ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  // Everything until the server closes, or what came before a quiet spell of `quiet`.
  std::string ReadAll(std::chrono::milliseconds quiet = 2s) {
    std::string bytes;
    pollfd fd{fd_, POLLIN, 0};
    char buffer[4096];
    while (poll(&fd, 1, static_cast<int>(quiet.count())) > 0) {
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  // At least `count` bytes, or what came before the server closed or went quiet for 2 s.
  std::string ReadAtLeast(std::size_t count) {
    std::string bytes;
    pollfd fd{fd_, POLLIN, 0};
    char buffer[16384];
    while (bytes.size() < count && poll(&fd, 1, 2000) > 0) {
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }

 private:
  int fd_;
  bool connected_ = false;
};

TEST(TestHttpServerTest, FramesBodiesAsAsked) {
  TestHttpServer server;
  Reply chunked = Reply::Ok("hello", "text/plain");
  chunked.framing = Framing::kChunked;
  server.Route("/chunked", chunked);
  Reply close_delimited = Reply::Ok("bye");
  close_delimited.framing = Framing::kCloseDelimited;
  server.Route("/close", close_delimited);

  RawConnection first(server.Port());
  first.Send("GET /chunked HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(first.ReadAll(),
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n"
            "Content-Type: text/plain\r\n\r\n5\r\nhello\r\n0\r\n\r\n");
  RawConnection second(server.Port());
  second.Send("GET /close HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(second.ReadAll(),
            "HTTP/1.1 200 OK\r\nConnection: close\r\n"
            "Content-Type: application/octet-stream\r\n\r\nbye");
}

TEST(TestHttpServerTest, SendsAnEndlessBodyUntilTheClientGoesAway) {
  TestHttpServer server;
  const std::pair<Framing, std::string> framings[] = {
      {Framing::kContentLength, "Content-Length: 1099511627776\r\n"},
      {Framing::kChunked, "Transfer-Encoding: chunked\r\n"},
      {Framing::kCloseDelimited, "Connection: close\r\n"},
  };
  for (const auto& [framing, header] : framings) {
    Reply endless = Reply::Ok("abc");
    endless.framing = framing;
    endless.fault = Fault::kEndlessBody;
    server.Route("/endless", endless);
    RawConnection connection(server.Port());
    connection.Send("GET /endless HTTP/1.1\r\n\r\n");
    const std::string bytes = connection.ReadAtLeast(1 << 20);
    ASSERT_GE(bytes.size(), 1u << 20) << static_cast<int>(framing);
    const std::string head = bytes.substr(0, bytes.find("\r\n\r\n") + 4);
    EXPECT_NE(head.find(header), head.npos) << head;
    EXPECT_NE(bytes.find("abcabcabc", head.size()), bytes.npos);
  }
  const auto start = std::chrono::steady_clock::now();
  server.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "a client gone ends the body";
}

TEST(TestHttpServerTest, AnswersRequestsInTurnOnOneConnectionAndRecordsThem) {
  TestHttpServer server;
  server.ServeBytes("a.txt", "A");
  RawConnection connection(server.Port());
  const std::string get = "GET /uploads/all/dravel/1/a.txt HTTP/1.1\r\nHost: x\r\n\r\n";
  connection.Send(get + "HEAD /nothing HTTP/1.1\r\n\r\n" + "GET /gone HTTP/1.1\r\n\r\n");
  const std::string answers = connection.ReadAll(300ms);
  EXPECT_EQ(answers.find("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n"), 0u) << answers;
  EXPECT_NE(answers.find("\r\n\r\nAHTTP/1.1 404 Not Found\r\n"), answers.npos) << answers;
  EXPECT_EQ(answers.find("<h1>404 Not Found</h1>"), answers.rfind("<h1>404 Not Found</h1>"))
      << "HEAD got a body";

  ASSERT_TRUE(server.WaitForRequests(3, 1s));
  const auto requests = server.Requests();
  EXPECT_EQ(requests[0].head, get);
  EXPECT_EQ(requests[1].method, "HEAD");
  EXPECT_EQ(requests[2].target, "/gone");
  for (const auto& request : requests) EXPECT_EQ(request.connection, 1);
  server.ClearRequests();
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST(TestHttpServerTest, StopsPromptlyRefusesConnectionsAndStartsAgainOnItsPort) {
  TestHttpServer server;
  Reply silent;
  silent.fault = Fault::kNeverAnswer;
  server.Route("/silent", silent);
  RawConnection waiting(server.Port());
  waiting.Send("GET /silent HTTP/1.1\r\n\r\n");
  ASSERT_TRUE(server.WaitForRequests(1, 1s));

  const std::uint16_t port = server.Port();
  const auto start = std::chrono::steady_clock::now();
  server.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_FALSE(server.Running());
  EXPECT_EQ(waiting.ReadAll(), "") << "the open connection was closed without an answer";
  EXPECT_FALSE(RawConnection(port).Connected());

  server.Start();
  EXPECT_EQ(server.Port(), port);
  RawConnection again(port);
  ASSERT_TRUE(again.Connected());
  again.Send("GET /x HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(again.ReadAll().find("HTTP/1.1 404"), 0u);
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST(TestHttpServerTest, RejectsAMalformedRequestLine) {
  TestHttpServer server;
  RawConnection connection(server.Port());
  connection.Send("NONSENSE\r\n\r\n");
  EXPECT_EQ(connection.ReadAll().find("HTTP/1.1 400 Bad Request\r\n"), 0u);
}

}  // namespace
