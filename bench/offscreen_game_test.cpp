// The offscreen game that the turn, paint and soak figures measure, and the bare libcurl
// yardstick: a click requests exactly what the yardstick fetches beside it.
#include "bench/offscreen_game.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/curl_session.h"
#include "game/code.h"
#include "game/judge.h"
#include "tests/support/jpeg_maker.h"
#include "tests/support/test_http_server.h"

namespace {

// A loopback server with a pack of small pictures; the scheme's line n names "p<n>.jpg".
class OffscreenGameTest : public testing::Test {
 protected:
  OffscreenGameTest() {
    std::map<std::string, std::string> files;
    std::string scheme;
    for (int n = 0; n < 49; ++n) {
      testsupport::JpegOptions options;
      options.width = options.height = 16;
      options.color = {static_cast<std::uint8_t>(5 * n), 90, 160};
      files["p" + std::to_string(n) + ".jpg"] = testsupport::MakeJpeg(options);
      scheme += "p" + std::to_string(n) + ".jpg\r\n";
    }
    for (const char* fixed : {"reading.jpg", "ok.jpg", "no.jpg"}) {
      files[fixed] = testsupport::MakeJpeg({});
    }
    server_.ServeFolder(files);
    server_.ServeBytes("shemoftask.txt", scheme);
  }

  std::vector<std::string> RequestedUrls() const {
    std::vector<std::string> urls;
    for (const std::string& target : server_.Targets()) urls.push_back(server_.Origin() + target);
    return urls;
  }

  testsupport::TestHttpServer server_;
  bench::CountingDialogs dialogs_;
};

// Every third pick is wrong; each click requests exactly what the yardstick then fetches.
TEST_F(OffscreenGameTest, AClickRequestsWhatTheYardstickFetches) {
  bench::OffscreenGame game(server_.BaseUrl(), dialogs_);
  game.Start();
  for (int turn = 0; turn < 6; ++turn) {
    const bench::Pick pick = game.PickFor(turn);
    const game::CodeDigits digits =
        game::SplitCodeDigits(game::TaskAt(game.Form().State, game.Form().State.TaskIndex));
    EXPECT_EQ(game::IsRightPick(digits, pick.tile, pick.tile), turn % 3 != 2) << turn;
    EXPECT_EQ(pick.right, turn % 3 != 2);
    const std::vector<std::string> urls = game.ClickUrls(pick.tile);
    ASSERT_EQ(urls.size(), 13u);
    EXPECT_EQ(urls[0], server_.BaseUrl() + (pick.right ? "ok.jpg" : "no.jpg"));
    server_.ClearRequests();
    game.Click(pick.tile);
    EXPECT_EQ(RequestedUrls(), urls);
    EXPECT_NO_THROW(game.ExpectPlayed(pick));
    EXPECT_EQ(game.Form().State.TaskIndex, pick.next_task);

    server_.ClearRequests();
    bench::CurlSession curl;
    curl.FetchAll(urls);
    EXPECT_EQ(RequestedUrls(), urls);
    EXPECT_GT(curl.BytesReceived(), 13u * 100);
  }
  EXPECT_EQ(dialogs_.Shown(), 0);
}

// A turn that did not play what the pick expects is caught.
TEST_F(OffscreenGameTest, APlayThatWentWrongIsAnError) {
  bench::OffscreenGame game(server_.BaseUrl(), dialogs_);
  game.Start();
  bench::Pick pick = game.PickFor(0);
  game.Click(pick.tile);
  bench::Pick other_verdict = pick;
  other_verdict.right = !pick.right;
  EXPECT_THROW(game.ExpectPlayed(other_verdict), std::runtime_error);
  server_.Stop();
  pick = game.PickFor(1);
  game.Click(pick.tile);  // its verdict cannot be fetched: no next task
  EXPECT_THROW(game.ExpectPlayed(pick), std::runtime_error);
}

TEST_F(OffscreenGameTest, TheRequestsCannotBeToldInMixedOrder) {
  bench::OffscreenGame game(server_.BaseUrl(), dialogs_);
  game.Start();
  game.Form().SpeedButton2Click(&game.Form());
  EXPECT_THROW(game.ClickUrls(1), std::logic_error);
}

TEST_F(OffscreenGameTest, AStartWithoutDataIsAnError) {
  server_.Stop();
  bench::OffscreenGame game(server_.BaseUrl(), dialogs_);
  EXPECT_THROW(game.Start(), std::runtime_error);
}

TEST_F(OffscreenGameTest, TheYardstickFailsOnAnErrorStatus) {
  bench::CurlSession curl;
  EXPECT_THROW(curl.FetchAll({server_.BaseUrl() + "missing.jpg"}), std::runtime_error);
  server_.Stop();
  EXPECT_THROW(curl.FetchAll({server_.BaseUrl() + "ok.jpg"}), std::runtime_error);
}

TEST(ResidentBytes, IsThereAndGrowsWithWhatIsTouched) {
  const std::size_t before = bench::ResidentBytes();
  EXPECT_GT(before, 0u);
  std::vector<char> touched(32u << 20, 1);
  EXPECT_GE(bench::ResidentBytes(), before + (16u << 20));
  EXPECT_EQ(touched[touched.size() / 2], 1);
}

}  // namespace
