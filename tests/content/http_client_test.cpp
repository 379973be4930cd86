#include "content/http_client.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "content/content_error.h"
#include "content/content_server.h"
#include "tests/support/test_http_server.h"

namespace {

using content::FetchError;
using content::HttpClient;
using content::HttpLimits;
using testsupport::Fault;
using testsupport::Framing;
using testsupport::Reply;
using testsupport::TestHttpServer;
using namespace std::chrono_literals;

HttpLimits ShortLimits() {
  HttpLimits limits;
  limits.connect_timeout = 500ms;
  limits.progress_window = 300ms;
  limits.max_text_bytes = 64 << 10;
  limits.max_picture_bytes = 32 << 10;
  return limits;
}

testing::AssertionResult Says(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << '"' << text << "\" does not say \"" << part << '"';
}

// Every byte value, CR LF pairs and a lone CR among them.
std::string AwkwardBytes() {
  std::string bytes = "line one\r\nline two\r\n\r\nlone\rcr\n";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

class HttpClientTest : public testing::Test {
 protected:
  Reply Faulty(Fault fault, Framing framing = Framing::kContentLength) {
    Reply reply = Reply::Ok(std::string(4000, 'x'));
    reply.fault = fault;
    reply.framing = framing;
    return reply;
  }

  TestHttpServer server_;
  HttpClient client_{server_.BaseUrl(), ShortLimits()};
};

TEST_F(HttpClientTest, SendsExactlyTheRequestLineAndThreeHeaders) {
  server_.ServeBytes("reading.jpg", "x");
  server_.ServeBytes("", "folder");
  client_.Get("reading.jpg");
  client_.Get("");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string tail =
      "\r\nAccept: text/html, */*\r\n"
      "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n";
  const std::string host = "Host: 127.0.0.1:" + std::to_string(server_.Port());
  EXPECT_EQ(requests[0].head, "GET /uploads/all/dravel/1/reading.jpg HTTP/1.1\r\n" + host + tail);
  // An empty name asks for the folder itself.
  EXPECT_EQ(requests[1].head, "GET /uploads/all/dravel/1/ HTTP/1.1\r\n" + host + tail);
}

TEST_F(HttpClientTest, ShippedBaseIsTheFixedHostsFolder) {
  EXPECT_EQ(content::ContentBaseUrl(),
            "http://" + std::string(content::kContentHost) + "/uploads/all/dravel/1/");
  EXPECT_EQ(content::kContentFolder, TestHttpServer::kFolder);
}

TEST_F(HttpClientTest, KeepsOneConnectionAcrossManyFetchesAndFailedStatuses) {
  server_.ServeBytes("a.txt", "alpha");
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(client_.Get("a.txt"), "alpha");
    // A 404 body is read to its end, so the connection stays usable.
    EXPECT_THROW(client_.Get("missing.jpg"), FetchError);
  }
  EXPECT_EQ(server_.RequestCount(), 80u);
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(HttpClientTest, ConnectsAgainWhenTheServerClosedTheConnection) {
  Reply closing = Reply::Ok("bye");
  closing.close_after = true;
  server_.Route(TestHttpServer::FolderTarget("bye.txt"), closing);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(client_.Get("bye.txt"), "bye");
  EXPECT_EQ(server_.ConnectionCount(), 5);
}

TEST_F(HttpClientTest, FailsWhileTheServerIsAwayAndWorksWhenItIsBack) {
  server_.ServeBytes("a.txt", "alpha");
  ASSERT_EQ(client_.Get("a.txt"), "alpha");
  server_.Stop();
  EXPECT_THROW(client_.Get("a.txt"), FetchError);
  server_.Start();
  EXPECT_EQ(client_.Get("a.txt"), "alpha");
  EXPECT_EQ(server_.ConnectionCount(), 2);
}

TEST_F(HttpClientTest, OnlyTwoHundredsSucceedAndRedirectsAreNotFollowed) {
  server_.ServeBytes("target.jpg", "the target");
  const std::string location = server_.BaseUrl() + "target.jpg";
  server_.Route(TestHttpServer::FolderTarget("204"), Reply::Html(204));
  server_.Route(TestHttpServer::FolderTarget("500"), Reply::Html(500));
  server_.Route(TestHttpServer::FolderTarget("301"), Reply::Redirect(301, location));
  server_.Route(TestHttpServer::FolderTarget("302"), Reply::Redirect(302, location));
  server_.Route(TestHttpServer::FolderTarget("299"), [] {
    Reply reply = Reply::Ok("odd but fine");
    reply.status = 299;
    return reply;
  }());

  EXPECT_EQ(client_.Get("204"), "");
  EXPECT_EQ(client_.Get("299"), "odd but fine");
  for (const char* name : {"404", "500", "301", "302"}) {
    SCOPED_TRACE(name);
    std::string stream;
    try {
      client_.Get(name, stream, content::kMaxTextBytes);
      ADD_FAILURE() << "no error";
    } catch (const FetchError& error) {
      EXPECT_NE(std::string(error.what()).find("HTTP status"), std::string::npos) << error.what();
    }
    EXPECT_EQ(stream, "") << "the body of a failed answer reached the stream";
  }
  for (const auto& target : server_.Targets()) EXPECT_EQ(target.find("target.jpg"), target.npos);
}

TEST_F(HttpClientTest, DeliversTheBodyByteForByteInEveryFraming) {
  const std::string bytes = AwkwardBytes();
  for (Framing framing : {Framing::kContentLength, Framing::kChunked, Framing::kCloseDelimited}) {
    Reply reply = Reply::Ok(bytes, "text/plain");
    reply.framing = framing;
    server_.Route(TestHttpServer::FolderTarget("shemoftask.txt"), reply);
    EXPECT_EQ(client_.Get("shemoftask.txt"), bytes) << static_cast<int>(framing);
  }
  std::string stream = "kept ";
  client_.Get("shemoftask.txt", stream, content::kMaxTextBytes);
  EXPECT_EQ(stream, "kept " + bytes);
}

TEST_F(HttpClientTest, BrokenAnswersFailAndTheClientRecovers) {
  server_.ServeBytes("good.txt", "good");
  const std::pair<const char*, Reply> broken[] = {
      {"close", Faulty(Fault::kCloseBeforeReply)},
      {"reset-head", Faulty(Fault::kResetBeforeBody)},
      {"reset-body", Faulty(Fault::kResetMidBody)},
      {"reset-chunked", Faulty(Fault::kResetMidBody, Framing::kChunked)},
      {"truncated", Faulty(Fault::kTruncated)},
      {"bad-chunks", Faulty(Fault::kMalformedChunks)},
      {"endless-head",
       [] {
         Reply reply = Reply::Ok("x");
         for (int i = 0; i < 5000; ++i)
           reply.headers.emplace_back("X-Filler", std::string(60, 'f'));
         return reply;
       }()},
  };
  for (const auto& [name, reply] : broken) {
    SCOPED_TRACE(name);
    server_.Route(TestHttpServer::FolderTarget(name), reply);
    EXPECT_THROW(client_.Get(name), FetchError);
    EXPECT_EQ(client_.Get("good.txt"), "good");
  }
}

TEST_F(HttpClientTest, AServerThatNeverAnswersTimesOutAndShortenedWaitsAreShorter) {
  HttpLimits limits = ShortLimits();
  limits.progress_window = 1'500ms;
  limits.retry_timeout = 200ms;
  HttpClient client(server_.BaseUrl(), limits);
  server_.Route(TestHttpServer::FolderTarget("silent"), Faulty(Fault::kNeverAnswer));
  const auto failure = [&client] {
    try {
      client.Get("silent");
    } catch (const content::TimeoutError& error) {
      return std::string(error.what());
    }
    return std::string("no time-out");
  };
  EXPECT_TRUE(Says(failure(), "no data from the server for 1500 ms"));
  client.ShortenWaits(true);
  EXPECT_TRUE(Says(failure(), "no data from the server for 200 ms"));
  client.ShortenWaits(false);
  EXPECT_TRUE(Says(failure(), "no data from the server for 1500 ms"));
}

TEST_F(HttpClientTest, ATransferThatMovesTooSlowlyFailsThoughBytesKeepComing) {
  server_.ServeBytes("good.txt", "good");
  Reply drip = Reply::Ok(std::string(4000, 'x'));
  drip.fault = Fault::kDripBody;
  drip.drip_interval = 40ms;  // 25 bytes a second, where 1,024 are asked for
  server_.Route(TestHttpServer::FolderTarget("drip"), drip);
  Reply spread = Reply::Ok(std::string(2000, 'x'));
  spread.fault = Fault::kSpreadOut;  // a whole answer, head and all, over 4 s
  spread.pieces = 40;
  spread.drip_interval = 100ms;
  server_.Route(TestHttpServer::FolderTarget("spread"), spread);
  for (const char* name : {"drip", "spread"}) {
    SCOPED_TRACE(name);
    try {
      client_.Get(name);
      ADD_FAILURE() << "no error";
    } catch (const content::TimeoutError& error) {
      EXPECT_TRUE(Says(error.what(), "too slow: "));
      EXPECT_TRUE(Says(error.what(), " bytes in 300 ms, at least 307 needed"));
    }
    EXPECT_EQ(client_.Get("good.txt"), "good");
  }
}

TEST_F(HttpClientTest, LengthsThatDisagreeFailTheAnswerAndItsConnection) {
  Reply twice = Reply::Ok("twelve bytes");
  twice.headers = {{"Content-Length", "12"}};  // the same length again is fine
  server_.Route(TestHttpServer::FolderTarget("twice"), twice);
  EXPECT_EQ(client_.Get("twice"), "twelve bytes");
  Reply listed = Reply::Ok("twelve bytes");
  listed.headers = {{"Content-Length", "12, 12"}};
  server_.Route(TestHttpServer::FolderTarget("listed"), listed);
  EXPECT_EQ(client_.Get("listed"), "twelve bytes");

  for (const char* other : {"5", "40", "12, 13"}) {
    SCOPED_TRACE(other);
    Reply disagreeing = Reply::Ok("twelve bytes");
    disagreeing.headers = {{"Content-Length", other}};
    server_.Route(TestHttpServer::FolderTarget("disagreeing"), disagreeing);
    const int connections = server_.ConnectionCount();
    try {
      client_.Get("disagreeing");
      ADD_FAILURE() << "no error";
    } catch (const FetchError& error) {
      EXPECT_NE(std::string(error.what()).find("two different lengths"), std::string::npos)
          << error.what();
    }
    EXPECT_EQ(client_.Get("twice"), "twelve bytes");
    EXPECT_EQ(server_.ConnectionCount(), connections + 1) << "the connection was not reused";
  }
}

// A waiter that runs something of its own at each report, as the window runs its repaints.
class WaitRunning : public content::PollWait, content::NetworkEvents {
 public:
  void Run(content::NetworkEvents& events) override {
    ++runs;
    client_events = &events;
    PollWait::Run(*this);
  }
  void SocketReady(int fd, bool read, bool write) override {
    if (inside) inside();
    client_events->SocketReady(fd, read, write);
  }
  void TimerDue() override {
    if (inside) inside();
    client_events->TimerDue();
  }

  content::NetworkEvents* client_events = nullptr;
  std::function<void()> inside;
  int runs = 0;
};

// A waiter that counts the socket watches made, those alive and those that want something.
class CountingWait : public content::PollWait {
 public:
  std::unique_ptr<SocketWatch> Watch(int fd) override {
    struct Counted : SocketWatch {
      Counted(std::unique_ptr<SocketWatch> watch, CountingWait& wait)
          : inner(std::move(watch)), counts(wait) {
        ++counts.made;
        counts.most = std::max(counts.most, ++counts.live);
      }
      ~Counted() override {
        --counts.live;
        Want({});
      }
      void Want(content::Interest interest) override {
        const bool wants = interest.read || interest.write;
        counts.wanting += int(wants) - int(wanted);
        wanted = wants;
        inner->Want(interest);
      }
      std::unique_ptr<SocketWatch> inner;
      CountingWait& counts;
      bool wanted = false;
    };
    return std::make_unique<Counted>(PollWait::Watch(fd), *this);
  }
  int made = 0;
  int live = 0;
  int most = 0;
  int wanting = 0;
};

// Between requests no socket is watched for anything: a kept connection's watch waits, idle,
// for its next request, and one is made per connection, not per request. None outlives the
// client, and a dropped connection or an abandoned transfer leaves none wanting.
TEST_F(HttpClientTest, ASocketIsWatchedOnlyWhileItsRequestWaits) {
  CountingWait wait;
  server_.ServeBytes("a.txt", "alpha");
  server_.Route(TestHttpServer::FolderTarget("silent"), Faulty(Fault::kNeverAnswer));
  {
    HttpClient client(server_.BaseUrl(), ShortLimits(), &wait);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(client.Get("a.txt"), "alpha");
      EXPECT_EQ(wait.wanting, 0);
    }
    EXPECT_EQ(wait.made, 1) << "three requests on one connection";
    client.EndConnection();
    EXPECT_EQ(client.Get("a.txt"), "alpha");
    EXPECT_EQ(server_.ConnectionCount(), 2);
    EXPECT_THROW(client.Get("missing"), FetchError);
    EXPECT_EQ(wait.wanting, 0);
    EXPECT_THROW(client.Get("silent"), content::TimeoutError)
        << "cut while libcurl waits on its socket";
    EXPECT_EQ(wait.wanting, 0);
    // A server that closes every connection: each socket's number comes back with the next.
    Reply closing = Reply::Ok("beta", "text/plain");
    closing.close_after = true;
    server_.Route(TestHttpServer::FolderTarget("b.txt"), closing);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(client.Get("b.txt"), "beta");
      EXPECT_EQ(wait.wanting, 0);
    }
    EXPECT_LE(wait.live, 2);
  }
  EXPECT_EQ(wait.live, 0);
  EXPECT_EQ(wait.most, 1) << "one request, one socket";
}

TEST_F(HttpClientTest, EveryRequestWaitsOnceAtTheMost) {
  WaitRunning wait;
  HttpClient client(server_.BaseUrl(), ShortLimits(), &wait);
  server_.ServeBytes("a.txt", std::string(60'000, 'a'));
  for (int i = 0; i < 20; ++i) EXPECT_EQ(client.Get("a.txt").size(), 60'000u);
  EXPECT_THROW(client.Get("missing"), FetchError);
  EXPECT_GT(wait.runs, 0);
  EXPECT_LE(wait.runs, 21);
}

TEST_F(HttpClientTest, AbandonedInsideAWaitTheRequestEndsAndNoOtherGoesOut) {
  WaitRunning wait;
  HttpLimits limits = ShortLimits();
  limits.progress_window = 60s;  // only Abandon ends this wait
  HttpClient client(server_.BaseUrl(), limits, &wait);
  server_.Route(TestHttpServer::FolderTarget("silent"), Faulty(Fault::kNeverAnswer));
  wait.inside = [&] {
    if (server_.RequestCount() > 0) client.Abandon();
  };
  EXPECT_THROW(client.Get("silent"), content::TransferAbandoned);
  server_.ServeBytes("a.txt", "a");
  EXPECT_THROW(client.Get("a.txt"), content::TransferAbandoned);
  EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(HttpClientTest, ABudgetCutsTheRequestUnderWayAndRefusesTheRestUntilItEnds) {
  HttpLimits limits = ShortLimits();
  limits.min_bytes_per_second = 1;  // the drip keeps moving: only the budget ends it
  limits.handler_budget = 400ms;
  HttpClient client(server_.BaseUrl(), limits);
  Reply drip = Reply::Ok(std::string(4000, 'x'));
  drip.fault = Fault::kDripBody;
  drip.drip_interval = 50ms;
  server_.Route(TestHttpServer::FolderTarget("drip"), drip);
  server_.ServeBytes("good.txt", "good");
  {
    const HttpClient::Budget budget(client);
    EXPECT_EQ(client.Get("good.txt"), "good");
    {
      const HttpClient::Budget nested(client);  // no new time of its own
      try {
        client.Get("drip");
        ADD_FAILURE() << "no error";
      } catch (const content::TimeoutError& error) {
        EXPECT_TRUE(Says(error.what(), "out of time: the 400 ms"));
      }
    }
    EXPECT_TRUE(client.OutOfTime());
    const std::size_t requests = server_.RequestCount();
    EXPECT_THROW(client.Get("good.txt"), content::TimeoutError);
    EXPECT_EQ(server_.RequestCount(), requests) << "nothing went out once the time was spent";
  }
  EXPECT_FALSE(client.OutOfTime());
  EXPECT_EQ(client.Get("good.txt"), "good");
}

// A whole second answer after the verdict picture's, in the same write or in one of its own
// 0, 1 or 20 ms later, when the next requests have long gone out: the game's requests
// (verdict, pick, scheme, tiles) three times over. No connection-level check can tell the
// unasked picture from the pick's own answer when it comes after the pick was asked for; but
// it never reaches the scheme, and from then on every request has its own answer.
class UnaskedAnswerTiming : public HttpClientTest, public testing::WithParamInterface<int> {};

TEST_P(UnaskedAnswerTiming, NeverReachesTheSchemeAndThenEveryAnswerIsRight) {
  for (const char* name : {"pick.jpg", "tile-1.jpg", "tile-2.jpg"}) {
    server_.ServeBytes(name, std::string("JPEG of ") + name);
  }
  server_.ServeBytes("scheme.txt", "the scheme");
  Reply verdict = Reply::Ok("JPEG of ok.jpg", "image/jpeg");
  verdict.unasked =
      "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 12\r\n\r\n"
      "JPEG unasked";
  verdict.unasked_in_same_write = GetParam() < 0;
  verdict.unasked_delay = std::chrono::milliseconds(std::max(GetParam(), 0));
  server_.Route(TestHttpServer::FolderTarget("ok.jpg"), verdict);
  const auto picture = [&](const std::string& name) {
    std::string body;
    client_.Get(name, body, 1024);
    return body;
  };
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::size_t requests = server_.RequestCount();
    const int connections = server_.ConnectionCount();
    EXPECT_EQ(picture("ok.jpg"), "JPEG of ok.jpg");
    const std::string pick = picture("pick.jpg");
    if (round == 1) {
      EXPECT_TRUE(pick == "JPEG of pick.jpg" || pick == "JPEG unasked") << pick;
      try {
        EXPECT_EQ(client_.GetText("scheme.txt"), "the scheme");
      } catch (const FetchError& error) {
        EXPECT_TRUE(Says(error.what(), "the answer is image/jpeg, which a text cannot be"));
      }
    } else {
      EXPECT_EQ(pick, "JPEG of pick.jpg");
      EXPECT_EQ(client_.GetText("scheme.txt"), "the scheme");
    }
    EXPECT_EQ(picture("tile-1.jpg"), "JPEG of tile-1.jpg");
    EXPECT_EQ(picture("tile-2.jpg"), "JPEG of tile-2.jpg");
    EXPECT_EQ(server_.RequestCount(), requests + 5) << "no request is made twice";
    if (round > 1) {
      EXPECT_EQ(server_.ConnectionCount(), connections + 5);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Writes, UnaskedAnswerTiming, testing::Values(-1, 0, 1, 20),
                         [](const testing::TestParamInfo<int>& info) {
                           return info.param < 0 ? std::string("SameWrite")
                                                 : std::to_string(info.param) + "msLater";
                         });

TEST_F(HttpClientTest, AfterAnUnaskedAnswerEveryRequestHasAConnectionOfItsOwn) {
  server_.ServeBytes("a.txt", "a");
  // A server that closes a kept connection is no reason to give up keeping them.
  Reply closing = Reply::Ok("bye");
  closing.close_after = true;
  server_.Route(TestHttpServer::FolderTarget("closing.txt"), closing);
  EXPECT_EQ(client_.Get("closing.txt"), "bye");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(client_.Get("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 2);

  Reply first = Reply::Ok("the first file");
  first.unasked = "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nbogus!";
  first.unasked_delay = 10ms;
  server_.Route(TestHttpServer::FolderTarget("first.txt"), first);
  EXPECT_EQ(client_.Get("first.txt"), "the first file");
  std::this_thread::sleep_for(30ms);  // the unasked answer is in
  for (int i = 0; i < 3; ++i) EXPECT_EQ(client_.Get("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 5);
}

// What the caller refuses, a text answered as a picture and bytes beyond an answer's end each
// close the connection they came on; only the last two are signs of a server that answers
// unasked.
TEST_F(HttpClientTest, AnAnswerThatCannotBeTheFileEndsItsConnection) {
  server_.ServeBytes("a.txt", "a");
  server_.Route(TestHttpServer::FolderTarget("picture.txt"), Reply::Ok("JFIF", "Image/JPEG"));
  EXPECT_EQ(client_.Get("picture.txt"), "JFIF") << "a type is for the caller to judge";
  EXPECT_EQ(client_.GetText("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 1);

  client_.EndConnection();
  EXPECT_EQ(client_.GetText("a.txt"), "a");
  EXPECT_EQ(client_.GetText("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 2) << "kept again after one fresh connection";

  try {
    client_.GetText("picture.txt");
    ADD_FAILURE() << "no error";
  } catch (const FetchError& error) {
    EXPECT_TRUE(Says(error.Cause(), "the answer is Image/JPEG, which a text cannot be"));
  }
  for (int i = 0; i < 2; ++i) EXPECT_EQ(client_.GetText("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 4) << "a connection per request from then on";
}

TEST_F(HttpClientTest, BytesBeyondAnAnswerInItsOwnReadEndTheConnection) {
  server_.ServeBytes("a.txt", "a");
  Reply first = Reply::Ok("the first file");
  first.unasked = "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nbogus!";
  first.unasked_in_same_write = true;
  server_.Route(TestHttpServer::FolderTarget("first.txt"), first);
  EXPECT_EQ(client_.Get("a.txt"), "a");
  EXPECT_EQ(client_.Get("first.txt"), "the first file");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(client_.Get("a.txt"), "a");
  EXPECT_EQ(server_.ConnectionCount(), 4);
}

TEST_F(HttpClientTest, ASlowButSteadyBodyKeepsMoving) {
  HttpLimits limits = ShortLimits();
  limits.min_bytes_per_second = 10;  // 3 bytes in each 300 ms
  HttpClient client(server_.BaseUrl(), limits);
  Reply drip = Reply::Ok("slow but steady");
  drip.fault = Fault::kDripBody;
  drip.drip_interval = 30ms;  // 450 ms in all, over the progress window
  server_.Route(TestHttpServer::FolderTarget("drip"), drip);
  EXPECT_EQ(client.Get("drip"), "slow but steady");
}

TEST_F(HttpClientTest, ADripThatNeverStallsEndsAtTheTransferTimeOut) {
  HttpLimits limits = ShortLimits();
  limits.transfer_timeout = 1'000ms;
  limits.min_bytes_per_second = 1;  // the drip moves fast enough for the window
  HttpClient client(server_.BaseUrl(), limits);
  Reply drip = Reply::Ok(std::string(4000, 'x'));
  drip.fault = Fault::kDripBody;
  drip.drip_interval = 100ms;  // 400 s in all
  server_.Route(TestHttpServer::FolderTarget("drip"), drip);
  server_.ServeBytes("good.txt", "good");
  try {
    client.Get("drip");
    ADD_FAILURE() << "no error";
  } catch (const FetchError& error) {
    EXPECT_NE(std::string(error.what()).find("no whole answer within 1000 ms"), std::string::npos)
        << error.what();
  }
  EXPECT_EQ(client.Get("good.txt"), "good");
}

TEST_F(HttpClientTest, AnAnswerThatBeginsWithAFoldedLineIsSafeAfterEarlierAnswers) {
  // Its headers begin with a continuation line: some libcurl versions fold it into a header
  // of the previous answer, which they have already freed.
  server_.ServeBytes("good.txt", "good");
  Reply folded;
  folded.status = 204;
  folded.headers = {{"\tX-Folded", std::string(200, 'f')}, {"X-After", "1"}};
  server_.Route(TestHttpServer::FolderTarget("folded"), folded);
  for (int round = 0; round < 20; ++round) {
    EXPECT_EQ(client_.Get("good.txt"), "good");
    try {
      EXPECT_EQ(client_.Get("folded"), "");
    } catch (const FetchError&) {
      // Refusing the answer is as good.
    }
  }
  EXPECT_EQ(client_.Get("good.txt"), "good");
}

TEST_F(HttpClientTest, ConnectTimesOutWhenNobodyTakesTheConnection) {
  // A listener whose backlog is full: the kernel drops further connection attempts.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  int fillers[2];
  for (int& filler : fillers) {
    filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  usleep(50'000);

  HttpClient client("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/",
                    ShortLimits());
  try {
    client.Get("x");
    ADD_FAILURE() << "no error";
  } catch (const FetchError& error) {
    EXPECT_NE(std::string(error.what()).find("no connection within 500 ms"), std::string::npos)
        << error.what();
  }
  for (int filler : fillers) close(filler);
  close(listener);
}

TEST_F(HttpClientTest, BodiesOverTheCapFailWithOrWithoutALength) {
  const std::size_t cap = ShortLimits().max_text_bytes;
  server_.ServeBytes("at-cap", std::string(cap, 'a'));
  EXPECT_EQ(client_.Get("at-cap").size(), cap);
  for (Framing framing : {Framing::kContentLength, Framing::kChunked, Framing::kCloseDelimited}) {
    Reply reply = Reply::Ok(std::string(cap + 1, 'a'));
    reply.framing = framing;
    server_.Route(TestHttpServer::FolderTarget("over-cap"), reply);
    try {
      client_.Get("over-cap");
      ADD_FAILURE() << "no error for framing " << static_cast<int>(framing);
    } catch (const FetchError& error) {
      EXPECT_NE(std::string(error.what()).find("larger than"), std::string::npos) << error.what();
    }
  }
}

// Names a proxy in every variable libcurl reads, for one scope.
class ScopedProxyEnvironment {
 public:
  explicit ScopedProxyEnvironment(const std::string& proxy) {
    for (const char* name : kNames) setenv(name, proxy.c_str(), 1);
  }
  ~ScopedProxyEnvironment() {
    for (const char* name : kNames) unsetenv(name);
  }

 private:
  static constexpr const char* kNames[] = {"http_proxy", "HTTP_PROXY", "ALL_PROXY", "all_proxy"};
};

TEST_F(HttpClientTest, IgnoresAProxyNamedInTheEnvironment) {
  TestHttpServer proxy;
  const ScopedProxyEnvironment environment(proxy.Origin() + "/");
  server_.ServeBytes("a.txt", "direct");
  HttpClient client(server_.BaseUrl(), ShortLimits());
  EXPECT_EQ(client.Get("a.txt"), "direct");
  EXPECT_EQ(proxy.RequestCount(), 0u);
  EXPECT_EQ(proxy.ConnectionCount(), 0);
}

TEST_F(HttpClientTest, NamesReachTheServerAsTheyStandEscapedWhereTheyMust) {
  // No dot-segment folding either: the server decides what "sub/../" means.
  const std::string name = "sub/../a b#c%?d\"<>\\^`{|}\x7f\x01\xc3\xa9.jpg";
  const std::string target = "sub/../a%20b%23c%?d%22%3C%3E%5C%5E%60%7B%7C%7D%7F%01%C3%A9.jpg";
  server_.ServeBytes(target, "found");
  EXPECT_EQ(client_.UrlFor(name), server_.BaseUrl() + target);
  EXPECT_EQ(client_.Get(name), "found");
  EXPECT_EQ(server_.Targets().back(), TestHttpServer::FolderTarget(target));
}

TEST_F(HttpClientTest, ANameLongerThanAnyFileNameIsRefusedWithoutARequest) {
  const std::string longest(content::kMaxFileNameBytes, 'n');
  server_.ServeBytes(longest, "found");
  EXPECT_EQ(client_.Get(longest), "found");
  server_.ClearRequests();
  EXPECT_THROW(client_.Get(longest + "n"), FetchError);
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(HttpClientTest, RefusesOtherSchemesAndCredentials) {
  const std::string authority = "127.0.0.1:" + std::to_string(server_.Port());
  for (const std::string& base : {"https://" + authority + "/", "ftp://" + authority + "/",
                                  "http://user:secret@" + authority + "/"}) {
    SCOPED_TRACE(base);
    HttpClient client(base, ShortLimits());
    EXPECT_THROW(client.Get("x"), FetchError);
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}
}  // namespace
