#include "content/fetch_failure.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "content/content_error.h"
#include "content/fetch.h"
#include "tests/support/test_http_server.h"

namespace {

using namespace std::chrono_literals;
using testsupport::Fault;
using testsupport::Reply;
using testsupport::TestHttpServer;

// The cause of fetching `name`, as the log and the checker word it.
std::string CauseOf(content::HttpClient& client, const std::string& name) {
  try {
    content::FetchJpeg(client, name);
  } catch (const std::exception& error) {
    return content::FailureCause(error);
  }
  return "no failure";
}

TEST(FailureCause, WordsEachFaultWithoutTheAddress) {
  TestHttpServer server;
  Reply reset = Reply::Ok(std::string(100, 'x'));
  reset.fault = Fault::kResetBeforeBody;
  server.Route(TestHttpServer::FolderTarget("reset.jpg"), reset);
  server.ServeBytes("page.jpg", "<html></html>");
  content::HttpLimits limits;
  limits.max_picture_bytes = 2'000;  // more than the 404 page
  content::HttpClient client(server.BaseUrl(), limits);

  EXPECT_EQ(CauseOf(client, "gone.jpg"), "HTTP status 404");
  EXPECT_EQ(CauseOf(client, "page.jpg"),
            "not a JPEG picture: Not a JPEG file: starts with 0x3c 0x68");
  EXPECT_NE(CauseOf(client, "reset.jpg").find("reset"), std::string::npos)
      << CauseOf(client, "reset.jpg");
  server.ServeBytes("big.jpg", std::string(2'001, 'x'));
  EXPECT_EQ(CauseOf(client, "big.jpg"), "the body is larger than 2000 bytes");
  server.Stop();
  EXPECT_EQ(CauseOf(client, "gone.jpg"), "no connection: Connection refused");
}

TEST(FailedFetchLine, NamesTheAddressTheTimeAndTheCauseAndCutsAHostileName) {
  const content::HttpClient client("http://example.test/folder/");
  const content::FetchError error("GET ...", "HTTP status 404");
  EXPECT_EQ(content::FailedFetchLine(client, "a b.jpg", 12ms, error),
            "GET http://example.test/folder/a%20b.jpg failed after 12 ms: HTTP status 404");

  const std::string hostile(1 << 20, 'n');
  const std::string line = content::FailedFetchLine(client, hostile, 0ms, error);
  EXPECT_LT(line.size(), 400u);
  EXPECT_NE(line.find("... (a name of 1048576 bytes) failed after 0 ms"), std::string::npos);
}

}  // namespace
