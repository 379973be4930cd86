#include "content/fetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>

#include "content/content_error.h"
#include "tests/support/jpeg_maker.h"
#include "tests/support/test_http_server.h"

namespace {

using content::ContentError;
using content::FetchError;
using content::JpegError;
using content::JpegPicture;
using testsupport::Fault;
using testsupport::Reply;
using testsupport::TestHttpServer;
using namespace std::chrono_literals;

content::HttpLimits ShortLimits() {
  content::HttpLimits limits;
  limits.connect_timeout = 500ms;
  limits.progress_window = 300ms;
  limits.max_text_bytes = 64 << 10;
  limits.max_picture_bytes = 32 << 10;
  return limits;
}

class FetchTest : public testing::Test {
 protected:
  FetchTest() {
    testsupport::JpegOptions options;
    options.width = 80;
    options.height = 60;
    good_ = testsupport::MakeJpeg(options);
    server_.ServeBytes("good.jpg", good_);
  }

  Reply WithFault(Fault fault) {
    Reply reply = Reply::Ok(good_, "image/jpeg");
    reply.fault = fault;
    return reply;
  }

  TestHttpServer server_;
  content::HttpClient client_{server_.BaseUrl(), ShortLimits()};
  std::string good_;
};

TEST_F(FetchTest, FetchJpegGivesThePictureTheServerHolds) {
  const JpegPicture picture = content::FetchJpeg(client_, "good.jpg");
  EXPECT_EQ(picture.Data(), good_);
  EXPECT_EQ(picture.Info().width, 80);
  EXPECT_EQ(picture.Info().height, 60);
  EXPECT_EQ(server_.Targets().back(), "/uploads/all/dravel/1/good.jpg");
}

TEST_F(FetchTest, AnEmptyBodyGivesTheEmptyPicture) {
  server_.ServeBytes("empty.jpg", "");
  EXPECT_TRUE(content::FetchJpeg(client_, "empty.jpg").Empty());
}

// The window assigns only what FetchJpeg returns, so a throw leaves its picture as it was.
TEST_F(FetchTest, EveryFailureThrowsAndLeavesTheShownPictureAlone) {
  const std::string location = server_.BaseUrl() + "good.jpg";
  const std::pair<const char*, Reply> failures[] = {
      {"404.jpg", Reply::Html(404)},
      {"500.jpg", Reply::Html(500)},
      {"301.jpg", Reply::Redirect(301, location)},
      {"302.jpg", Reply::Redirect(302, location)},
      {"page.jpg", Reply::Ok("<html><body>hello</body></html>", "text/html")},
      {"header.jpg", Reply::Ok(testsupport::WithCorruptHeader(good_))},
      {"huge.jpg", Reply::Ok(testsupport::WithDimensions(good_, 40'000, 40'000))},
      {"over-cap.jpg", Reply::Ok(std::string(ShortLimits().max_picture_bytes + 1, 'x'))},
      {"cut.jpg", WithFault(Fault::kTruncated)},
      {"reset.jpg", WithFault(Fault::kResetMidBody)},
      {"silent.jpg", WithFault(Fault::kNeverAnswer)},
  };
  JpegPicture shown = content::FetchJpeg(client_, "good.jpg");
  for (const auto& [name, reply] : failures) {
    server_.Route(TestHttpServer::FolderTarget(name), reply);
    EXPECT_THROW(shown = content::FetchJpeg(client_, name), ContentError) << name;
    EXPECT_EQ(shown.Data(), good_) << name;
  }
  server_.Stop();
  EXPECT_THROW(shown = content::FetchJpeg(client_, "good.jpg"), FetchError);
  EXPECT_EQ(shown.Data(), good_);
}

TEST_F(FetchTest, ErrorsSayWhichStepFailed) {
  server_.ServeBytes("page.jpg", "<html></html>");
  EXPECT_THROW(content::FetchJpeg(client_, "missing.jpg"), FetchError);
  EXPECT_THROW(content::FetchJpeg(client_, "page.jpg"), JpegError);
}

TEST_F(FetchTest, PicturesHaveACapOfTheirOwnUnderTheTexts) {
  const std::string body(ShortLimits().max_picture_bytes + 1, 'x');
  server_.ServeBytes("big", body);
  EXPECT_EQ(content::FetchText(client_, "big"), body);
  EXPECT_THROW(content::FetchJpeg(client_, "big"), FetchError);
}

TEST_F(FetchTest, FetchTextKeepsLineEndsAndBytes) {
  const std::string scheme = "cat.jpg\r\ndog.jpg\r\n\xE9t\xE9.jpg\r\n\r\n";
  server_.ServeBytes("shemoftask.txt", scheme);
  EXPECT_EQ(content::FetchText(client_, "shemoftask.txt"), scheme);
  EXPECT_THROW(content::FetchText(client_, "missing.txt"), FetchError);
}

}  // namespace
